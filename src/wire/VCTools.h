#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "wire/ClientRecord.h"
#include "wire/ClientStatusPack.h"
#include "wire/Dates.h"
#include "wire/LogOnRecords.h"
#include "wire/RoomHeader.h"
#include "wire/Streams.h"
#include "wire/TCommand.h"
#include "wire/TextMessage.h"
#include "wire/UserItem.h"

namespace veltrin {

// How a bounded read of a sized block ended.
enum class ReadStatus {
    Complete,   // every byte arrived
    Truncated,  // the stream ended or failed first; the bytes that did arrive are kept
    TooLarge,   // the size was above the caller's limit: nothing was read and the stream is marked
                // unusable, because what follows on it can no longer be framed
};

// The wire primitives shared by every channel. All numbers are little-endian except writeBEInt /
// readBEInt (channel selectors only). Every writer has a stream form, which hands its bytes to the
// stream until all are accepted, and an MD form, which appends the same bytes to a byte buffer.
//
// Readers never fail loudly: a stream that ends or fails part-way makes the number readers answer
// 0 (logging the stream status) and the string readers answer what they read; callers notice the
// end through checkIS. Sizes that come from the wire are never trusted for allocation.
class VCTools {
public:
    VCTools() = delete;

    // A string or UTF-16 text claiming more bytes than this is treated as a broken stream. Nothing
    // the protocol carries as a string comes near it; bulk data travels as command payloads.
    static constexpr std::size_t kMaxWireStringBytes = 64u << 20;
    // Bytes of a claimed size allocated ahead of their arrival; the rest grows as data comes in.
    static constexpr std::size_t kReadChunk = 64u << 10;
    // Fixed-size strings hold at most this many text bytes (the length is one byte).
    static constexpr int kMaxFixedStringSize = 255;
    // zlib works in steps of this many bytes, for input and output alike.
    static constexpr std::size_t kCompressionStep = 131072;
    // Default bound on inflated output: a compressed block from the network never expands past it.
    static constexpr std::size_t kMaxInflatedBytes = 256u << 20;

    // ---- streams
    static bool checkIS(const InputStream& is) { return is.readable(); }
    static bool checkOS(const OutputStream& os) { return os.writable(); }
    // Repeats the write until every byte is accepted; false when the stream fails first.
    static bool writeToStream(OutputStream& os, const void* data, std::size_t size);

    // ---- numbers
    static bool writeByte(OutputStream& os, std::uint8_t value);
    static bool writeBoolean(OutputStream& os, bool value);
    static bool writeWord(OutputStream& os, std::uint16_t value);
    static bool writeInt(OutputStream& os, std::int32_t value);
    static bool writeBEInt(OutputStream& os, std::int32_t value);
    static bool writeLong(OutputStream& os, std::int64_t value);
    static bool writeDouble(OutputStream& os, double value);
    static bool writeDayDate(OutputStream& os, double dayCount);

    static void writeByteMD(Bytes& md, std::uint8_t value);
    static void writeBooleanMD(Bytes& md, bool value);
    static void writeWordMD(Bytes& md, std::uint16_t value);
    static void writeIntMD(Bytes& md, std::int32_t value);
    static void writeBEIntMD(Bytes& md, std::int32_t value);
    static void writeLongMD(Bytes& md, std::int64_t value);
    static void writeDoubleMD(Bytes& md, double value);
    static void writeDayDateMD(Bytes& md, double dayCount);

    // One read of one byte; 0 when nothing came.
    static std::uint8_t readByte(InputStream& is);
    // True only for the byte 1.
    static bool readBoolean(InputStream& is);
    static std::uint16_t readWord(InputStream& is);
    static std::int32_t readInt(InputStream& is);
    static std::int32_t readBEInt(InputStream& is);
    static std::int64_t readLong(InputStream& is);
    static double readDouble(InputStream& is);
    static double readDayDate(InputStream& is) { return readDouble(is); }

    // ---- strings (std::string holds UTF-8)
    // Fixed-size string of size S (capped at 255): length byte L, L bytes of UTF-8, S - L zeros.
    // Text longer than S bytes is cut to at most S bytes at a character boundary.
    static bool writeFixedString(OutputStream& os, std::string_view text, int size);
    static void writeFixedStringMD(Bytes& md, std::string_view text, int size);
    // Int byte count N, then N bytes of UTF-8. The two names write the same bytes.
    static bool writeStringIntSize(OutputStream& os, std::string_view text);
    static bool writeUTF8IntString(OutputStream& os, std::string_view text);
    static void writeStringIntSizeMD(Bytes& md, std::string_view text);
    static void writeUTF8IntStringMD(Bytes& md, std::string_view text);
    // Int N = 2 * code units + 2, the UTF-16LE text, two zero bytes. `correction` has no effect
    // and exists because callers pass one. Text that is not valid UTF-8 is written empty.
    static void writeUTF16LEIntStringMD(Bytes& md, std::string_view text, int correction = 0);
    static bool writeUTF16LEIntString(OutputStream& os, std::string_view text);

    // Consumes exactly 1 + S bytes of an intact stream (a length byte above S is taken as S).
    static std::string readFixedString(InputStream& is, int size);
    // Empty for N < 1 (nothing more is read). N above maxBytes: nothing more is read, the answer
    // is empty and the stream is marked unusable. Text that does not decode answers empty.
    static std::string readStringIntSize(InputStream& is, std::size_t maxBytes = kMaxWireStringBytes);
    // Reads N and N bytes and decodes the first N - 2 as UTF-16LE; limits as readStringIntSize.
    static std::string readUTF16LEIntString(InputStream& is, std::size_t maxBytes = kMaxWireStringBytes);

    // Reads a block whose size came from the wire into `out` (replacing its content), allocating
    // no more than kReadChunk ahead of the bytes that have arrived.
    static ReadStatus readPayload(InputStream& is, std::uint64_t size, Bytes& out, std::size_t maxBytes);

    // ---- command frame
    static bool writeCommand(OutputStream& os, const TCommand& command);
    static void writeCommandMD(Bytes& md, const TCommand& command);
    // A new frame if the stream is still readable after its six fields, else nothing.
    static std::optional<TCommand> readCommand(InputStream& is);
    // Fills `command` (fields the stream could not supply become 0) and answers checkIS afterwards.
    static bool readCommandNoCreate(InputStream& is, TCommand& command);

    // ---- zlib (one zlib stream with header and Adler-32 trailer)
    // Replaces `out` with the compressed bytes and answers their count; 0 and an empty `out` when
    // the compressor cannot be set up (e.g. a level outside -1..9).
    static std::size_t compressData(const void* data, std::size_t size, int level, Bytes& out);
    // Nothing for corrupt or incomplete input, a preset-dictionary request, or output that would
    // exceed maxOutput bytes.
    static std::optional<Bytes> decompressBytes(const void* data, std::size_t len,
                                                std::size_t maxOutput = kMaxInflatedBytes);

    // ---- dates
    // Local midnight of the day the count falls on (the time of day is dropped). NaN counts as 0;
    // counts outside the years 100..9999 are taken as the nearer end of that range.
    static CalendarDate DoubleToNSDate(double dayCount);
    // Day count of a date in local time, the time of day as the fraction.
    static double convertToDouble(CalendarDate date);
    static double convertToDouble(std::chrono::system_clock::time_point date);
    // |now - then| in milliseconds, truncated; saturates instead of overflowing.
    static std::uint64_t MsecsBetween(double now, double then);

    // ---- session records
    static TClientRecord readClientRec(InputStream& is);
    static TRoomHeader readRoomHeader(InputStream& is);
    static TUserItem readUserItem(InputStream& is);
    static TClientStatusPack readStatusPack(InputStream& is);
    static TTextMessage readTextMessage(InputStream& is);
    static void writeTTextMessageMD(Bytes& md, const TTextMessage& message);
    static bool writeTSimpleLogIn(OutputStream& os, const TSimpleLogin& login);
};

}  // namespace veltrin
