// Writes a small seed corpus of valid inputs for each harness: <dir>/<harness>/<name>.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "wire/AppShareRecords.h"
#include "wire/BoardStream.h"
#include "wire/Handshake.h"
#include "wire/PaintObjectHeader.h"
#include "wire/RecorderConfiguration.h"
#include "wire/Records.h"
#include "wire/ServerHandshake.h"
#include "wire/VCTools.h"

using namespace veltrin;

namespace {

void save(const std::filesystem::path& dir, const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

template <class Record>
Bytes withSelector(std::uint8_t selector, const Record& r) {
    Bytes md{selector};
    r.writeToMD(md);
    return md;
}

void recordSeeds(const std::filesystem::path& dir) {
    TClientRecord client;
    client.UID = 42;
    client.DisplayName = "Ada";
    client.E_RoomID = 1001;
    client.UserName = "ada";
    client.CreateDateTime = VCTools::DoubleToNSDate(45000);
    save(dir, "client-record", withSelector(0, client));

    TRoomHeader room;
    room.ID = 1001;
    room.Name = "Room";
    room.AllowVideo = true;
    room.MikesCount = 4;
    save(dir, "room-header", withSelector(1, room));

    TUserItem user;
    user.UID = 7;
    user.UserTypeID = 1000;
    user.DisplayName =
        "Gr\xC3\xA1"
        "ce";
    user.BirthDate = 12345.5;
    save(dir, "user-item", withSelector(2, user));

    TClientStatusPack pack;
    pack.UID = 7;
    pack.MotionStatus = 1001;
    pack.Board_BoardAllowed = true;
    save(dir, "status-pack", withSelector(3, pack));

    TTextMessage message;
    message.FromUID = 7;
    message.Text = "Hi \xF0\x9F\x98\x80";
    save(dir, "text-message", withSelector(4, message));

    TSimpleLogin login;
    login.Username = "u";
    login.Password = "p";
    save(dir, "simple-login", withSelector(5, login));

    TAccountDataEx account;
    account.CID = 3;
    account.CompanyName = "School";
    save(dir, "account-data", withSelector(6, account));

    TClientSystemRecord system;
    system.DeviceModel = "PC";
    system.OSVersion = "12";
    system.HRes = 1920;
    save(dir, "client-system", withSelector(7, system));

    TPingPacket ping;
    ping.ID = 1;
    ping.Text = "Yes or no?";
    save(dir, "ping-packet", withSelector(8, ping));

    TFileInfo file;
    file.FileName = "a.pdf";
    file.UploadDateTime = 45000.5;
    save(dir, "file-info", withSelector(9, file));

    TFileInfo1 file1;
    file1.FileName = "b.pdf";
    file1.GroupName = "Week 1";
    save(dir, "file-info1", withSelector(10, file1));

    Bytes strings{11, 20};
    VCTools::writeFixedStringMD(strings, "fixed", 20);
    VCTools::writeStringIntSizeMD(strings, "sized \xC3\xA9");
    VCTools::writeUTF16LEIntStringMD(strings, "wide \xF0\x9F\x98\x80");
    save(dir, "strings", strings);

    MemoryOutputStream answer;
    answer.write("\x0C", 1);
    const VersionIdentity server{"8.1", "Apr-01-2015"};
    writeVersionAnswer(answer, 0, &server);
    writeLogOnAnswer(answer, 0, &client);
    save(dir, "client-handshake", answer.data());

    Bytes opening{13};
    VCTools::writeFixedStringMD(opening, kClientVersion, kVersionFieldSize);
    VCTools::writeFixedStringMD(opening, kClientVersionDate, kVersionDateFieldSize);
    VCTools::writeBEIntMD(opening, 250);
    login.writeToMD(opening);
    save(dir, "server-handshake", opening);

    Bytes wide{15};
    wide.insert(wide.end(), {0x61, 0x00, 0x3D, 0xD8, 0x00, 0xDE});
    save(dir, "unicode", wide);

    TPaintObjectHeader paint;
    paint.UserId = 7;
    paint.ObjectSize = 40;
    save(dir, "paint-object-header", withSelector(16, paint));
    TAppShareStruct share;
    share.ShareUserName = "Ada";
    share.ScaleFactorX = share.ScaleFactorY = 0.5;
    save(dir, "app-share", withSelector(17, share));
    TAppShareFrame shareFrame;
    shareFrame.FrameNo = 3;
    shareFrame.KeyFrame = true;
    save(dir, "app-share-frame", withSelector(18, shareFrame));
    TAppShareControlPacket control;
    control.EventType = 1;
    save(dir, "app-share-control", withSelector(19, control));
    TRecorderConfiguration recorder;
    recorder.RecorderName = "Recorder";
    save(dir, "recorder-configuration", withSelector(20, recorder));
}

void frameSeeds(const std::filesystem::path& dir) {
    Bytes frames{5};
    for (int i = 0; i < 4; ++i) {
        TCommand c(57 + i, 5, 300, static_cast<std::uint32_t>(i * 3));
        c.TimeStamp = 45000.25;
        VCTools::writeCommandMD(frames, c);
        frames.insert(frames.end(), static_cast<std::size_t>(i * 3), static_cast<std::uint8_t>(i));
    }
    save(dir, "frames", frames);
    Bytes single{0};
    VCTools::writeCommandMD(single, TCommand(57, 5, 300));
    save(dir, "frame57", single);
}

void decompressSeeds(const std::filesystem::path& dir) {
    const std::string text = "the quick brown fox jumps over the lazy dog, again and again and again";
    Bytes packed;
    VCTools::compressData(text.data(), text.size(), 9, packed);
    save(dir, "text", packed);
    const Bytes zeros(5000, 0);
    VCTools::compressData(zeros.data(), zeros.size(), 1, packed);
    save(dir, "zeros", packed);
}

// A paint object body written field by field (the encoder itself needs Qt): kind `kind`, with a
// three-point stroke for kinds 7 and 8.
Bytes paintBody(std::int32_t id, std::int32_t kind) {
    Bytes md;
    for (std::int32_t v : {id, 101, kind, 10, 20, 200, 180}) VCTools::writeIntMD(md, v);
    VCTools::writeBooleanMD(md, true);
    VCTools::writeIntMD(md, 2);
    VCTools::writeUTF8IntStringMD(md, "Text");
    VCTools::writeUTF8IntStringMD(md, "Helvetica");
    VCTools::writeIntMD(md, 12);
    VCTools::writeIntMD(md, 0);
    for (std::uint8_t c : {0, 0, 255, 0}) VCTools::writeByteMD(md, c);
    VCTools::writeIntMD(md, -16);
    VCTools::writeIntMD(md, 0);
    for (bool b : {true, false, false, false}) VCTools::writeBooleanMD(md, b);
    VCTools::writeIntMD(md, 15);
    VCTools::writeBooleanMD(md, false);
    for (std::uint8_t c : {255, 0, 0, 0, 255, 255, 255, 0}) VCTools::writeByteMD(md, c);
    VCTools::writeIntMD(md, 0);
    VCTools::writeBooleanMD(md, false);
    if (kind == 7 || kind == 8) {
        VCTools::writeIntMD(md, 3);
        for (std::int32_t v : {1, 2, 30, 40, 500, 60}) VCTools::writeIntMD(md, v);
    }
    VCTools::writeBooleanMD(md, false);
    return md;
}

void boardSeeds(const std::filesystem::path& root) {
    TBoardStreamHead head;
    head.Index = 2;
    head.BoardId = "wb-2";
    head.Title = "Größe";
    head.OriginalW = 1024;
    head.OriginalH = 768;
    std::vector<TBoardStreamObject> objects;
    for (std::int32_t kind : {1, 3, 7}) {
        TBoardStreamObject o;
        o.Header.UserId = 101;
        o.Header.BoardIndex = 2;
        o.Header.LocalIndex = static_cast<std::int32_t>(objects.size()) + 1;
        o.Body = paintBody(o.Header.LocalIndex, kind);
        objects.push_back(o);
    }
    Bytes withHeaders;
    BoardStream::writeSnapshotMD(withHeaders, head, objects);
    TBoardStreamHead notLoaded = head;
    notLoaded.Index = 3;
    notLoaded.BoardLoaded = false;
    BoardStream::writeSnapshotMD(withHeaders, notLoaded, {});
    Bytes stream{3};
    stream.insert(stream.end(), withHeaders.begin(), withHeaders.end());
    save(root / "board_stream", "two-boards", stream);
    Bytes snapshot{1};
    snapshot.insert(snapshot.end(), withHeaders.begin(), withHeaders.end());
    save(root / "board_snapshot", "with-headers", snapshot);
    Bytes file{0};
    head.ObjectCount = static_cast<std::int32_t>(objects.size());
    BoardStream::writeHeadMD(file, head);
    for (const TBoardStreamObject& o : objects) file.insert(file.end(), o.Body.begin(), o.Body.end());
    save(root / "board_snapshot", "board-file", file);
    for (const TBoardStreamObject& o : objects) {
        Bytes update;
        TPaintObjectHeader h = o.Header;
        h.ObjectSize = static_cast<std::int32_t>(o.Body.size());
        h.writeToMD(update);
        update.insert(update.end(), o.Body.begin(), o.Body.end());
        save(root / "paint_object", "object-" + std::to_string(h.LocalIndex), update);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <seed directory>\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    recordSeeds(root / "record_readers");
    frameSeeds(root / "frame_reader");
    decompressSeeds(root / "decompress");
    boardSeeds(root);
    return 0;
}
