#include <gtest/gtest.h>

#include <algorithm>

#include "WireTestSupport.h"
#include "wire/Records.h"
#include "wire/VCTools.h"

namespace veltrin {
namespace {

using test::concat;
using test::hexBytes;
using test::zeros;

constexpr std::uint8_t kMarker = 0xEE;

// Samples with every field set to something other than its zero value, strings of various lengths
// (some filling their field), so that a field in the wrong place or of the wrong width shows.
CalendarDate day(double n) {
    return VCTools::DoubleToNSDate(n);
}

TClientRecord sampleClientRecord() {
    TClientRecord r;
    r.UID = 123456;
    r.RoomIndex = -7;
    r.DisplayName = std::string(20, 'D');
    r.FullName = "Ada Lovelace";
    r.Email = "ada@example.org";
    r.Address = "12 St James's Square";
    r.CityId = 44;
    r.CityName = "London";
    r.CountryID = 826;
    r.ZipCode = "SW1Y 4JH";
    r.Phones = "+44 20 7946 0000";
    r.CreateDateTime = day(44000);
    r.CreateIP = "192.0.2.1";
    r.LoginIP = "192.0.2.2";
    r.UserTypeID = 1000;
    r.SexID = "F";
    r.BirthDate = day(-30000);
    r.Password = "s3cret";
    r.PersonalityID = 3;
    r.Profession = "Mathematician";
    r.Languages = "en, fr";
    r.SeatID = 12;
    r.Age = 36;
    r.PeerIP = "198.51.100.200";
    r.PeerPort = 3301;
    r.LastAct = day(45000);
    r.E_RoomID = 0x1234;
    r.E_EnrollDateTime = day(45001);
    r.E_EnrollIP = "203.0.113.9";
    r.E_EnrollStatusID = 5;
    r.E_UserStatusID = 6;
    r.E_LastLoginIP = "203.0.113.10";
    r.E_LastLoginDateTime = day(45002);
    r.LocalLoginDateTime = day(45003);
    r.TimeBias = -60;
    r.SYS_SessionID = std::string(30, 'S');
    r.OnlineStatus = 200;
    r.UserName = "ada";
    return r;
}

TRoomHeader sampleRoomHeader() {
    TRoomHeader r;
    r.ID = 1001;
    r.Name = "Analytical Engines 101";
    r.Topic = std::string(250, 't');
    r.Description = "Notes on the engine";
    r.CreateDateTime = day(44500);
    r.CreatorID = 1;
    r.SupervisorID = 2;
    r.Capacity = 30;
    r.AccessTypeID = 4;
    r.ExpireDateTime = day(46000);
    r.RoomStatusID = 5;
    r._countNow = 6;
    r.ServerBias = -120;
    r.InstructorName = "Charles Babbage";
    r.CurrentSpeakerID = 7;
    r.BoardControlIn = 8;
    r.AppShareIn = 9;
    r.VideoIn = 10;
    r.SecretCode = "sesame";
    r.AllowRecordings = true;
    r.AllowInvitations = false;
    r.AllowAppShare = true;
    r.AllowFullDupAudio = true;
    r.WelcomeURL = "https://example.org/welcome";
    r.AllowGraphCalculator = false;
    r.AllowOnlineExams = true;
    r.AllowVideo = true;
    r.DefaultAudioCodecID = 11;
    r.DefaultVideoCodecID = 12;
    r.MikesCount = 4;
    r.Reserved1 = 13;
    r.Reserved2 = 14;
    r.Reserved3 = "reserved";
    r.CompanyID = 15;
    return r;
}

TUserItem sampleUserItem() {
    TUserItem r;
    r.UID = 77;
    r.DisplayName = "Grace";
    r.FullName = "Grace Hopper";
    r.Email = "grace@example.org";
    r.CityName = "Arlington";
    r.CountryID = 840;
    r.UserTypeID = 0;
    r.Gender = "F";
    r.PersonalityID = 2;
    r.SeatId = 3;
    r.Profession = "Rear admiral";
    r.ShortAddress = std::string(128, 'a');
    r.Languages = "en";
    r.BirthDate = 2538.5;
    r.Age = 85;
    r.LocalLoginDateTime = 45000.125;
    r.TimeBias = 300;
    r.OnlineStatus = 3;
    r.UserName = "grace";
    return r;
}

TClientStatusPack sampleStatusPack() {
    TClientStatusPack r;
    r.UID = 77;
    r.OnlineStatus = 1;
    r.Mike_Status = 2;
    r.Video_Status = 3;
    r.Board_BoardAllowed = true;
    r.Board_NowDrawing = true;
    r.MotionStatus = 1001;
    r.AppShare_Allowed = true;
    r.AppShare_NowSharing = true;
    return r;
}

TSimpleLogin sampleSimpleLogin() {
    TSimpleLogin r;
    r.UID = 9;
    r.Password = "p";
    r.Username = std::string(50, 'u');
    return r;
}

TAccountDataEx sampleAccountData() {
    TAccountDataEx r;
    r.CID = 1;
    r.CompanyName = std::string(255, 'C');
    r.prodId = 2;
    r.ModeratorsCount = 3;
    r.Comp_LangCode = "en-GB";
    r.User_LangCode = "fr-FR";
    r.HDDLimit = 4;
    r.CompanyDefTimeZone = 5;
    r.UserDefTimeZone = 6;
    r.ServerTimeZone = 7;
    r.SubDomain = "school";
    r.AccountURL = "https://school.example.org";
    r.Reserved1 = 8;
    r.Reserved2 = 9;
    r.Reserved3 = 10;
    r.Reserved4 = 11;
    r.Reserved5 = 12;
    return r;
}

TClientSystemRecord sampleSystemRecord() {
    TClientSystemRecord r;
    r.DeviceModel = "ThinkPad X1";
    r.OSName = "Debian";
    r.OSVersion = "12 (bookworm) \xE2\x80\x94 6.1";
    r.HRes = 2560;
    r.VRes = 1440;
    r.DPI = 110;
    r.Proxy = 1;
    return r;
}

TPingPacket samplePingPacket() {
    TPingPacket r;
    r.ID = 1;
    r.FromID = 2;
    r.ToID = 3;
    r.PingType = 0xBEEF;
    r.MustReply = true;
    r.MultipleAnswers = true;
    r.AnswerMask = 0x55;
    r.Text = "Which engine computes Bernoulli numbers?";
    return r;
}

template <class R>
R fileInfo() {
    R r;
    r.ID = 1;
    r.FileName = "slides.pdf";
    r.OriginalName = "Lecture 1 \xE2\x80\x94 slides.pdf";
    r.FileSize = 123456;
    r.FileType = "pdf";
    r.Comment1 = std::string(200, 'c');
    r.UploadUser = "ada";
    r.UploadDateTime = 45000.5;
    r.CustomData = -1;
    return r;
}

TFileInfo1 sampleFileInfo1() {
    auto r = fileInfo<TFileInfo1>();
    r.RoomId = 1001;
    r.GroupName = "Week 1";
    return r;
}

// ---- every record: size, both write forms, round trip, truncation

template <class R>
struct RecordCase;
template <>
struct RecordCase<TClientRecord> {
    static TClientRecord sample() { return sampleClientRecord(); }
    static constexpr int kBytes = 1119;
};
template <>
struct RecordCase<TRoomHeader> {
    static TRoomHeader sample() { return sampleRoomHeader(); }
    static constexpr int kBytes = 1430;
};
template <>
struct RecordCase<TUserItem> {
    static TUserItem sample() { return sampleUserItem(); }
    static constexpr int kBytes = 761;
};
template <>
struct RecordCase<TClientStatusPack> {
    static TClientStatusPack sample() { return sampleStatusPack(); }
    static constexpr int kBytes = 15;
};
template <>
struct RecordCase<TSimpleLogin> {
    static TSimpleLogin sample() { return sampleSimpleLogin(); }
    static constexpr int kBytes = 106;
};
template <>
struct RecordCase<TAccountDataEx> {
    static TAccountDataEx sample() { return sampleAccountData(); }
    static constexpr int kBytes = 604;
};
template <>
struct RecordCase<TPingPacket> {
    static TPingPacket sample() { return samplePingPacket(); }
    static constexpr int kBytes = 221;
};
template <>
struct RecordCase<TFileInfo> {
    static TFileInfo sample() { return fileInfo<TFileInfo>(); }
    static constexpr int kBytes = 773;
};
template <>
struct RecordCase<TFileInfo1> {
    static TFileInfo1 sample() { return sampleFileInfo1(); }
    static constexpr int kBytes = 1028;
};
template <>
struct RecordCase<TClientSystemRecord> {
    static TClientSystemRecord sample() { return sampleSystemRecord(); }
    // 11 + 6 + 21 UTF-8 bytes of text, 28 of sizes and ints.
    static constexpr int kBytes = 66;
};

template <class R>
class RecordTest : public ::testing::Test {};
using RecordTypes = ::testing::Types<TClientRecord, TRoomHeader, TUserItem, TClientStatusPack, TSimpleLogin,
                                     TAccountDataEx, TPingPacket, TFileInfo, TFileInfo1, TClientSystemRecord>;
TYPED_TEST_SUITE(RecordTest, RecordTypes);

TYPED_TEST(RecordTest, SizeAndBothWriteForms) {
    const TypeParam r = RecordCase<TypeParam>::sample();
    EXPECT_EQ(r.getSize(), RecordCase<TypeParam>::kBytes);
    Bytes md{kMarker};
    r.writeToMD(md);
    EXPECT_EQ(md.size(), 1u + static_cast<std::size_t>(RecordCase<TypeParam>::kBytes));
    EXPECT_EQ(md.front(), kMarker);
    MemoryOutputStream os;
    EXPECT_TRUE(r.writeToStream(os));
    EXPECT_EQ(os.data(), Bytes(md.begin() + 1, md.end()));
}

TYPED_TEST(RecordTest, RoundTripConsumesExactlyTheRecord) {
    const TypeParam r = RecordCase<TypeParam>::sample();
    Bytes md;
    r.writeToMD(md);
    md.push_back(kMarker);
    MemoryInputStream is(md);
    TypeParam back;
    back.readFromStream(is);
    EXPECT_TRUE(back == r);
    EXPECT_EQ(VCTools::readByte(is), kMarker);
    EXPECT_TRUE(VCTools::checkIS(is));
}

// A record cut anywhere is still delivered: the fields before the cut as sent, the fields after it
// zero or empty. Re-encoding the result shows both, give or take the one field the cut fell in (at
// most 256 bytes, the largest field).
TYPED_TEST(RecordTest, CutRecordsKeepWhatArrivedAndZeroTheRest) {
    const TypeParam r = RecordCase<TypeParam>::sample();
    Bytes full;
    r.writeToMD(full);
    constexpr std::size_t kLargestField = 256;
    for (const std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{5}, full.size() / 3,
                                  full.size() / 2, full.size() - 9, full.size() - 1}) {
        SCOPED_TRACE(cut);
        test::LogCapture log;
        MemoryInputStream is(std::span<const std::uint8_t>(full).first(cut));
        TypeParam back;
        back.readFromStream(is);
        EXPECT_FALSE(VCTools::checkIS(is));
        EXPECT_EQ(is.position(), cut);

        Bytes again;
        back.writeToMD(again);
        const std::size_t same = cut > kLargestField ? cut - kLargestField : 0;
        EXPECT_TRUE(
            std::equal(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(same), again.begin()));
        const std::size_t zeroFrom = std::min(again.size(), cut + kLargestField);
        EXPECT_TRUE(std::all_of(again.begin() + static_cast<std::ptrdiff_t>(zeroFrom), again.end(),
                                [](std::uint8_t b) { return b == 0; }));
    }
}

// ---- byte-exact records

TEST(TSimpleLogin, UserUPasswordP) {
    TSimpleLogin login;
    login.Username = "u";
    login.Password = "p";
    MemoryOutputStream os;
    EXPECT_TRUE(VCTools::writeTSimpleLogIn(os, login));
    EXPECT_EQ(os.data(), concat({zeros(4), hexBytes("01 70"), zeros(49), hexBytes("01 75"), zeros(49)}));
    EXPECT_EQ(os.data().size(), 106u);
}

TEST(TTextMessage, HiIs25Bytes) {
    TTextMessage m;
    m.FromUID = 5;
    m.ToUID = 0;
    m.RoomID = 300;
    m.MessageType = 2;
    m.Text = "Hi";
    m.NameToUse = "not sent";
    EXPECT_EQ(m.getStructureSize(), 18);
    EXPECT_EQ(m.getMessageSize(), 6);
    EXPECT_EQ(m.getSize(), 24);

    Bytes md;
    VCTools::writeTTextMessageMD(md, m);
    const Bytes expected =
        hexBytes("05 00 00 00  00 00 00 00  2C 01  02 00  06 00  00 00 00 00  48 00 69 00 00 00  00");
    EXPECT_EQ(md, expected);
    MemoryOutputStream os;
    EXPECT_TRUE(m.writeToStream(os));
    EXPECT_EQ(os.data(), expected);

    MemoryInputStream is(concat({expected, {kMarker}}));
    const TTextMessage back = VCTools::readTextMessage(is);
    EXPECT_EQ(back.FromUID, 5);
    EXPECT_EQ(back.ToUID, 0);
    EXPECT_EQ(back.RoomID, 300);
    EXPECT_EQ(back.MessageType, 2);
    EXPECT_EQ(back.MessageSize, 6);
    EXPECT_EQ(back.Text, "Hi");
    EXPECT_EQ(back.NameToUse, "");
    EXPECT_EQ(back.TimeToShow, "");
    EXPECT_EQ(VCTools::readByte(is), kMarker);
}

// Whatever MessageSize says, exactly that many text bytes and the reserved byte are consumed.
TEST(TTextMessage, OddAndTinyMessageSizes) {
    struct Case {
        std::uint16_t messageSize;
        Bytes text;
        std::string expected;
    };
    const Case cases[] = {
        {0, {}, ""},
        {1, hexBytes("00"), ""},
        {2, hexBytes("00 00"), ""},
        {5, hexBytes("48 00 69 00 00"), ""},
        {6, hexBytes("48 00 69 00 00 00"), "Hi"},
        {6, hexBytes("48 00 69 00 41 00"), "Hi"},  // the terminator is not looked at
        {7, hexBytes("48 00 69 00 00 00 00"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.messageSize);
        Bytes md = hexBytes("01 00 00 00  02 00 00 00  03 00  04 00");
        VCTools::writeWordMD(md, c.messageSize);
        VCTools::writeIntMD(md, 0x7777);  // reserved: ignored
        md.insert(md.end(), c.text.begin(), c.text.end());
        md.push_back(0x99);  // reserved byte
        md.push_back(kMarker);
        MemoryInputStream is(md);
        const TTextMessage m = VCTools::readTextMessage(is);
        EXPECT_EQ(m.Text, c.expected);
        EXPECT_EQ(m.MessageSize, c.messageSize);
        EXPECT_EQ(VCTools::readByte(is), kMarker);
    }
}

// MessageSize is a word: longer texts are cut so that it stays true, never inside a surrogate pair.
TEST(TTextMessage, TextsTooLongForTheSizeWordAreCut) {
    const std::string emoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
    struct Case {
        const char* name;
        std::string text;
        int messageSize;
        std::string readBack;
    };
    const std::string longest(TTextMessage::kMaxTextUnits, 'a');
    const Case cases[] = {
        {"at the limit", longest, 65534, longest},
        {"one above", longest + "b", 65534, longest},
        {"pair across the limit", std::string(TTextMessage::kMaxTextUnits - 1, 'a') + emoji, 65532,
         std::string(TTextMessage::kMaxTextUnits - 1, 'a')},
        {"pair at the limit", std::string(TTextMessage::kMaxTextUnits - 2, 'a') + emoji, 65534,
         std::string(TTextMessage::kMaxTextUnits - 2, 'a') + emoji},
        {"not UTF-8", "abc\xFF", 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTextMessage m;
        m.Text = c.text;
        EXPECT_EQ(m.getMessageSize(), c.messageSize);
        Bytes md;
        m.writeToMD(md);
        EXPECT_EQ(md.size(), static_cast<std::size_t>(m.getSize()) + 1);
        MemoryInputStream is(md);
        EXPECT_EQ(VCTools::readTextMessage(is).Text, c.readBack);
        EXPECT_EQ(is.position(), md.size());
    }
}

// A message cut short keeps the whole UTF-16 units that arrived, like the other string readers.
TEST(TTextMessage, CutMessagesKeepWhatArrived) {
    TTextMessage m;
    m.FromUID = 1;
    m.Text = "Hello";
    Bytes md;
    m.writeToMD(md);
    ASSERT_EQ(md.size(), 18u + 12u + 1u);
    for (std::size_t cut = 0; cut < md.size(); ++cut) {
        SCOPED_TRACE(cut);
        MemoryInputStream is(std::span<const std::uint8_t>(md).first(cut));
        const TTextMessage back = VCTools::readTextMessage(is);
        EXPECT_EQ(back.FromUID, cut >= 4 ? 1 : 0);
        const std::size_t textBytes = cut < 18 ? 0 : std::min<std::size_t>(cut - 18, 10);
        EXPECT_EQ(back.Text, textBytes % 2 ? "" : m.Text.substr(0, textBytes / 2));
        EXPECT_FALSE(VCTools::checkIS(is));
    }
}

TEST(TUserItem, PermissionsFollowTheRoleWhenRead) {
    struct Case {
        int userTypeId;
        bool allowed;
    };
    const Case cases[] = {{0, false}, {2, true}, {1000, true}, {-1, false}};
    for (const auto& c : cases) {
        TUserItem item = sampleUserItem();
        item.UserTypeID = c.userTypeId;
        Bytes md;
        item.writeToMD(md);

        TUserItem stale;
        stale.VideoAllowed = stale.TypingStatus = stale.TickVisible = true;
        stale.HandNumber = 4;
        stale.statusPack.MotionStatus = 1;
        MemoryInputStream is(md);
        stale.readFromStream(is);
        EXPECT_EQ(stale.VoiceAllowed, c.allowed) << c.userTypeId;
        EXPECT_EQ(stale.BoardAllowed, c.allowed) << c.userTypeId;
        EXPECT_FALSE(stale.VideoAllowed);
        EXPECT_EQ(stale.HandNumber, 0);
        EXPECT_FALSE(stale.TypingStatus);
        EXPECT_FALSE(stale.TickVisible);
        EXPECT_TRUE(stale.statusPack == TClientStatusPack());

        MemoryInputStream again(md);
        EXPECT_EQ(VCTools::readUserItem(again).VoiceAllowed, c.allowed);
    }
}

TEST(TClientStatusPack, Motions) {
    struct Case {
        int motion;
        bool hand, smiling, clapping, yes, no;
    };
    const Case cases[] = {
        {0, false, false, false, false, false},    {1, true, false, false, false, false},
        {2, false, true, false, false, false},     {4, false, false, true, false, false},
        {8, false, false, false, true, false},     {16, false, false, false, false, true},
        {1000, false, false, false, false, false}, {1001, true, false, false, false, false},
        {1500, true, false, false, false, false},  {3, false, false, false, false, false},
    };
    for (const auto& c : cases) {
        TClientStatusPack p;
        p.MotionStatus = c.motion;
        EXPECT_EQ(p.isHand(), c.hand) << c.motion;
        EXPECT_EQ(p.isSmiling(), c.smiling) << c.motion;
        EXPECT_EQ(p.isClapping(), c.clapping) << c.motion;
        EXPECT_EQ(p.isYES(), c.yes) << c.motion;
        EXPECT_EQ(p.isNO(), c.no) << c.motion;
    }
}

TEST(TClientStatusPack, RaisedHandFromTheWire) {
    const Bytes bytes = hexBytes("4D 00 00 00  01 02 03  01 00  E9 03 00 00  00 01");
    MemoryInputStream is(bytes);
    const TClientStatusPack p = VCTools::readStatusPack(is);
    EXPECT_EQ(p.UID, 77);
    EXPECT_EQ(p.OnlineStatus, 1);
    EXPECT_EQ(p.Mike_Status, 2);
    EXPECT_EQ(p.Video_Status, 3);
    EXPECT_TRUE(p.Board_BoardAllowed);
    EXPECT_FALSE(p.Board_NowDrawing);
    EXPECT_EQ(p.MotionStatus, 1001);
    EXPECT_TRUE(p.isHand());
    EXPECT_FALSE(p.AppShare_Allowed);
    EXPECT_TRUE(p.AppShare_NowSharing);
}

// The room id of the enrolment is a word: the two bytes after it are already the next field.
TEST(TClientRecord, EnrolledRoomIdIsTwoBytes) {
    constexpr std::size_t kRoomIdAt = 956;
    TClientRecord r = sampleClientRecord();
    r.E_RoomID = 0x1234;
    Bytes md;
    r.writeToMD(md);
    EXPECT_EQ(md[kRoomIdAt], 0x34);
    EXPECT_EQ(md[kRoomIdAt + 1], 0x12);
    Bytes nextField;
    VCTools::writeDayDateMD(nextField, VCTools::convertToDouble(r.E_EnrollDateTime));
    EXPECT_TRUE(std::equal(nextField.begin(), nextField.end(), md.begin() + kRoomIdAt + 2));

    MemoryInputStream is(md);
    const TClientRecord back = VCTools::readClientRec(is);
    EXPECT_EQ(back.E_RoomID, 0x1234);
    EXPECT_EQ(back.E_EnrollDateTime, r.E_EnrollDateTime);
    EXPECT_EQ(back.UserName, "ada");

    r.E_RoomID = 0x12345;  // only the low 16 bits travel
    md.clear();
    r.writeToMD(md);
    MemoryInputStream cut(md);
    EXPECT_EQ(VCTools::readClientRec(cut).E_RoomID, 0x2345);
}

TEST(TClientRecord, ReadersByName) {
    const TClientRecord record = sampleClientRecord();
    const TRoomHeader room = sampleRoomHeader();
    Bytes md;
    record.writeToMD(md);
    room.writeToMD(md);
    MemoryInputStream is(md);
    EXPECT_TRUE(VCTools::readClientRec(is) == record);
    EXPECT_TRUE(VCTools::readRoomHeader(is) == room);
}

TEST(TClientRecord, DatesAreReadAsWholeDays) {
    constexpr std::size_t kCreateDateTimeAt = 597;
    Bytes md;
    TClientRecord().writeToMD(md);
    Bytes date;
    VCTools::writeDayDateMD(date, 45000.75);
    std::copy(date.begin(), date.end(), md.begin() + kCreateDateTimeAt);
    MemoryInputStream is(md);
    EXPECT_EQ(VCTools::readClientRec(is).CreateDateTime, VCTools::DoubleToNSDate(45000));
}

TEST(TClientSystemRecord, OsNameIsTheSecondWordOfTheVersionText) {
    struct Case {
        const char* text;
        const char* word;
    };
    const Case cases[] = {
        {"Linux 6.1.0-18-amd64 #1 SMP", "6.1.0-18-amd64"},
        {"Version 10.10.2 (Build 14C109)", "10.10.2"},
        {"  two   spaces ", "spaces"},
        {"single", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(TClientSystemRecord::secondWord(c.text), c.word) << c.text;

    const TClientSystemRecord fresh;
    EXPECT_EQ(fresh.OSName,
              TClientSystemRecord::secondWord(TClientSystemRecord::operatingSystemVersionText()));
    EXPECT_FALSE(fresh.OSName.empty());
    EXPECT_EQ(fresh.DeviceModel, "");
    EXPECT_EQ(fresh.OSVersion, "");
    EXPECT_EQ(fresh.Proxy, 0);
    EXPECT_EQ(fresh.getSize(), static_cast<int>(fresh.OSName.size()) + 28);
}

TEST(TPingPacket, ReadsUnderItsOldName) {
    const TPingPacket p = samplePingPacket();
    Bytes md;
    p.writeToMD(md);
    MemoryInputStream is(md);
    TPingPacket back;
    back.readFromSrteam(is);
    EXPECT_TRUE(back == p);
}

TEST(TLogInRecord, HoldsTheSessionParameters) {
    const TLogInRecord r("classroom.example.org", 3300, 3301, 443, "ada", "s3cret", 1001);
    EXPECT_EQ(r.Host, "classroom.example.org");
    EXPECT_EQ(r.Port1, 3300);
    EXPECT_EQ(r.Port2, 3301);
    EXPECT_EQ(r.Port3, 443);
    EXPECT_EQ(r.UserName, "ada");
    EXPECT_EQ(r.Password, "s3cret");
    EXPECT_EQ(r.RoomID, 1001);
}

}  // namespace
}  // namespace veltrin
