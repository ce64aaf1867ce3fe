// Numbers, the command frame and the raw byte helpers of VCTools.
#include <bit>

#include "ByteOrder.h"
#include "Log.h"
#include "VCTools.h"

namespace veltrin {

using namespace byteorder;

namespace {

void append(Bytes& md, const std::uint8_t* p, std::size_t n) {
    md.insert(md.end(), p, p + n);
}

std::uint8_t encodeBoolean(bool value) {
    return value ? 1 : 0;
}

void storeBE32(std::uint8_t* b, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    b[0] = static_cast<std::uint8_t>(v >> 24);
    b[1] = static_cast<std::uint8_t>(v >> 16);
    b[2] = static_cast<std::uint8_t>(v >> 8);
    b[3] = static_cast<std::uint8_t>(v);
}

}  // namespace

bool VCTools::writeToStream(OutputStream& os, const void* data, std::size_t size) {
    return os.writeAll(data, size);
}

// ---- writers. Every stream form goes through writeToStream: a partial write of a number would
// shift everything after it on the connection.

bool VCTools::writeByte(OutputStream& os, std::uint8_t value) {
    return writeToStream(os, &value, 1);
}

bool VCTools::writeBoolean(OutputStream& os, bool value) {
    return writeByte(os, encodeBoolean(value));
}

bool VCTools::writeWord(OutputStream& os, std::uint16_t value) {
    std::uint8_t b[2];
    storeLE16(b, value);
    return writeToStream(os, b, sizeof b);
}

bool VCTools::writeInt(OutputStream& os, std::int32_t value) {
    std::uint8_t b[4];
    storeLE32(b, static_cast<std::uint32_t>(value));
    return writeToStream(os, b, sizeof b);
}

bool VCTools::writeBEInt(OutputStream& os, std::int32_t value) {
    std::uint8_t b[4];
    storeBE32(b, value);
    return writeToStream(os, b, sizeof b);
}

bool VCTools::writeLong(OutputStream& os, std::int64_t value) {
    std::uint8_t b[8];
    storeLE64(b, static_cast<std::uint64_t>(value));
    return writeToStream(os, b, sizeof b);
}

bool VCTools::writeDouble(OutputStream& os, double value) {
    return writeLong(os, std::bit_cast<std::int64_t>(value));
}

bool VCTools::writeDayDate(OutputStream& os, double dayCount) {
    return writeDouble(os, dayCount);
}

void VCTools::writeByteMD(Bytes& md, std::uint8_t value) {
    md.push_back(value);
}

void VCTools::writeBooleanMD(Bytes& md, bool value) {
    md.push_back(encodeBoolean(value));
}

void VCTools::writeWordMD(Bytes& md, std::uint16_t value) {
    std::uint8_t b[2];
    storeLE16(b, value);
    append(md, b, sizeof b);
}

void VCTools::writeIntMD(Bytes& md, std::int32_t value) {
    std::uint8_t b[4];
    storeLE32(b, static_cast<std::uint32_t>(value));
    append(md, b, sizeof b);
}

void VCTools::writeBEIntMD(Bytes& md, std::int32_t value) {
    std::uint8_t b[4];
    storeBE32(b, value);
    append(md, b, sizeof b);
}

void VCTools::writeLongMD(Bytes& md, std::int64_t value) {
    std::uint8_t b[8];
    storeLE64(b, static_cast<std::uint64_t>(value));
    append(md, b, sizeof b);
}

void VCTools::writeDoubleMD(Bytes& md, double value) {
    writeLongMD(md, std::bit_cast<std::int64_t>(value));
}

void VCTools::writeDayDateMD(Bytes& md, double dayCount) {
    writeDoubleMD(md, dayCount);
}

// ---- readers

std::uint8_t VCTools::readByte(InputStream& is) {
    std::uint8_t b = 0;
    return is.readSome(&b, 1) == 1 ? b : 0;
}

bool VCTools::readBoolean(InputStream& is) {
    return readByte(is) == 1;
}

std::uint16_t VCTools::readWord(InputStream& is) {
    std::uint8_t b[2];
    if (is.readFully(b, sizeof b) != sizeof b) {
        logf("readWord Stream Status is: %lu", static_cast<unsigned long>(is.status()));
        return 0;
    }
    return loadLE16(b);
}

std::int32_t VCTools::readInt(InputStream& is) {
    std::uint8_t b[4];
    if (is.readFully(b, sizeof b) != sizeof b) {
        logf("readInt Stream Status is: %i", static_cast<int>(is.status()));
        return 0;
    }
    return static_cast<std::int32_t>(loadLE32(b));
}

std::int32_t VCTools::readBEInt(InputStream& is) {
    std::uint8_t b[4];
    if (is.readFully(b, sizeof b) != sizeof b) {
        logf("readInt Stream Status is: %i", static_cast<int>(is.status()));
        return 0;
    }
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(b[0]) << 24) |
                                     (static_cast<std::uint32_t>(b[1]) << 16) |
                                     (static_cast<std::uint32_t>(b[2]) << 8) | b[3]);
}

std::int64_t VCTools::readLong(InputStream& is) {
    std::uint8_t b[8];
    if (is.readFully(b, sizeof b) != sizeof b) {
        logf("readLong Stream Status is: %lu", static_cast<unsigned long>(is.status()));
        return 0;
    }
    return static_cast<std::int64_t>(loadLE64(b));
}

double VCTools::readDouble(InputStream& is) {
    return std::bit_cast<double>(readLong(is));
}

// ---- command frame

bool VCTools::writeCommand(OutputStream& os, const TCommand& command) {
    std::uint8_t b[TCommand::kSize];
    command.encode(b);
    return writeToStream(os, b, sizeof b);
}

void VCTools::writeCommandMD(Bytes& md, const TCommand& command) {
    std::uint8_t b[TCommand::kSize];
    command.encode(b);
    append(md, b, sizeof b);
}

bool VCTools::readCommandNoCreate(InputStream& is, TCommand& command) {
    if (is.buffered() >= static_cast<std::size_t>(TCommand::kSize)) {
        // The common case on a busy connection: the whole frame is already in the buffer.
        std::uint8_t b[TCommand::kSize];
        is.readFully(b, sizeof b);
        command = TCommand::decode(b);
        return is.readable();
    }
    command.CommandID = readWord(is);
    command.UserID = static_cast<std::uint32_t>(readInt(is));
    command.RoomIndex = readWord(is);
    command.TimeStamp = readDouble(is);
    command.DataSize = static_cast<std::uint32_t>(readInt(is));
    command.Result = readWord(is);
    return is.readable();
}

std::optional<TCommand> VCTools::readCommand(InputStream& is) {
    TCommand command;
    if (!readCommandNoCreate(is, command)) return std::nullopt;
    return command;
}

}  // namespace veltrin
