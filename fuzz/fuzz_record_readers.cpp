// Every record reader on arbitrary bytes; the first byte picks the reader. Besides surviving, each
// record must write back to its own size, and what it writes must read back to the same bytes.
#include <type_traits>

#include "FuzzSupport.h"
#include "wire/AppShareRecords.h"
#include "wire/Handshake.h"
#include "wire/PaintObjectHeader.h"
#include "wire/RecorderConfiguration.h"
#include "wire/Records.h"
#include "wire/ServerHandshake.h"
#include "wire/Utf.h"
#include "wire/VCTools.h"

using namespace veltrin;

namespace {

// Small enough that a claimed size is allowed now and then, so that both sides of the limit run.
constexpr std::size_t kStringLimit = 4096;

template <class Record>
Bytes encoded(const Record& r) {
    Bytes md;
    r.writeToMD(md);
    return md;
}

template <class Record>
constexpr bool kHasFixedSize =
    !std::is_same_v<Record, TClientSystemRecord> && !std::is_same_v<Record, TTextMessage>;

template <class Record>
void record(std::span<const std::uint8_t> bytes) {
    MemoryInputStream is(bytes);
    Record first;
    first.readFromStream(is);
    const Bytes written = encoded(first);
    if constexpr (kHasFixedSize<Record>)
        fuzz::check(written.size() == static_cast<std::size_t>(Record::kSize));
    if constexpr (std::is_same_v<Record, TTextMessage>)
        fuzz::check(written.size() == static_cast<std::size_t>(first.getSize()) + 1);
    if constexpr (std::is_same_v<Record, TClientSystemRecord>)
        fuzz::check(written.size() == static_cast<std::size_t>(first.getSize()));

    MemoryInputStream again(written);
    Record second;
    second.readFromStream(again);
    fuzz::check(encoded(second) == written);

    // Field by field from a trickling stream reads the same as from the buffer.
    fuzz::TrickleInputStream trickled(bytes, 3);
    Record third;
    third.readFromStream(trickled);
    fuzz::check(encoded(third) == written);
}

void strings(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return;
    const int size = bytes[0];
    MemoryInputStream is(bytes.subspan(1));
    const std::string fixed = VCTools::readFixedString(is, size);
    fuzz::check(fixed.size() <= static_cast<std::size_t>(size) && utf::isValidUtf8(fixed));
    const std::string plain = VCTools::readStringIntSize(is, kStringLimit);
    fuzz::check(plain.size() <= kStringLimit && utf::isValidUtf8(plain));
    const std::string wide = VCTools::readUTF16LEIntString(is, kStringLimit);
    fuzz::check(utf::isValidUtf8(wide));

    Bytes md;
    VCTools::writeFixedStringMD(md, fixed, size);
    VCTools::writeStringIntSizeMD(md, plain);
    VCTools::writeUTF16LEIntStringMD(md, wide);
    MemoryInputStream back(md);
    fuzz::check(VCTools::readFixedString(back, size) == fixed);
    fuzz::check(VCTools::readStringIntSize(back, kStringLimit) == plain);
    fuzz::check(VCTools::readUTF16LEIntString(back, kStringLimit) == wide);
}

void clientHandshake(std::span<const std::uint8_t> bytes) {
    MemoryInputStream is(bytes);
    MemoryOutputStream os;
    int outdatedCalls = 0;
    const int result = checkVersion(kClientVersion, kClientVersionDate, is, os,
                                    [&](const std::string&, const std::string&) { ++outdatedCalls; });
    fuzz::check(os.data().size() == static_cast<std::size_t>(kVersionExchangeSize));
    fuzz::check(outdatedCalls <= 1);
    fuzz::check(result == kResultExchangeFailed || result == kResultServerNewer ||
                (result >= 0 && result <= 0xFFFF));
    TCommand answer;
    const int logOn = LogOnUser("user", "password", is, os, &answer);
    fuzz::check(logOn == kResultExchangeFailed || logOn == answer.Result);
}

void serverHandshake(std::span<const std::uint8_t> bytes) {
    MemoryInputStream is(bytes);
    if (const auto id = readVersionExchange(is))
        fuzz::check(id->Version.size() <= 10 && id->Date.size() <= 20);
    readChannelSelector(is);
    if (const auto login = readSimpleLogIn(is)) {
        MemoryOutputStream os;
        login->writeToStream(os);
        fuzz::check(os.data().size() == static_cast<std::size_t>(TSimpleLogin::kSize));
    }
}

void unicode(std::span<const std::uint8_t> bytes) {
    const auto text = utf::utf16LEToUtf8(bytes);
    if (text) {
        fuzz::check(utf::isValidUtf8(*text));
        Bytes wide;
        fuzz::check(utf::appendUtf16LE(*text, wide) == bytes.size() / 2);
        fuzz::check(wide == Bytes(bytes.begin(), bytes.end()));
    }
    const std::string_view narrow(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::size_t prefix = utf::utf8PrefixLength(narrow, bytes.size() / 2);
    fuzz::check(prefix <= bytes.size() / 2);
    if (utf::isValidUtf8(narrow)) fuzz::check(utf::isValidUtf8(narrow.substr(0, prefix)));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::span<const std::uint8_t> body(data + 1, size - 1);
    switch (data[0] % 21) {
        case 0:
            record<TClientRecord>(body);
            break;
        case 1:
            record<TRoomHeader>(body);
            break;
        case 2:
            record<TUserItem>(body);
            break;
        case 3:
            record<TClientStatusPack>(body);
            break;
        case 4:
            record<TTextMessage>(body);
            break;
        case 5:
            record<TSimpleLogin>(body);
            break;
        case 6:
            record<TAccountDataEx>(body);
            break;
        case 7:
            record<TClientSystemRecord>(body);
            break;
        case 8:
            record<TPingPacket>(body);
            break;
        case 9:
            record<TFileInfo>(body);
            break;
        case 10:
            record<TFileInfo1>(body);
            break;
        case 11:
            strings(body);
            break;
        case 12:
            clientHandshake(body);
            break;
        case 13:
            serverHandshake(body);
            break;
        case 15:
            unicode(body);
            break;
        case 16:
            record<TPaintObjectHeader>(body);
            break;
        case 17:
            record<TAppShareStruct>(body);
            break;
        case 18:
            record<TAppShareFrame>(body);
            break;
        case 19:
            record<TAppShareControlPacket>(body);
            break;
        default:
            record<TRecorderConfiguration>(body);
            break;
    }
    return 0;
}
