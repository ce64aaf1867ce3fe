#include "TextMessage.h"

#include "Utf.h"
#include "VCTools.h"

namespace veltrin {

namespace {

std::size_t textUnits(const std::string& text) {
    const std::size_t units = utf::utf16Length(text).value_or(0);
    if (units <= TTextMessage::kMaxTextUnits) return units;
    Bytes scratch;
    return utf::appendUtf16LE(text, scratch, TTextMessage::kMaxTextUnits).value_or(0);
}

}  // namespace

int TTextMessage::getMessageSize() const {
    return static_cast<int>(2 * textUnits(Text) + 2);
}

void TTextMessage::readFromStream(InputStream& is) {
    FromUID = VCTools::readInt(is);
    ToUID = VCTools::readInt(is);
    RoomID = VCTools::readWord(is);
    MessageType = VCTools::readWord(is);
    MessageSize = VCTools::readWord(is);
    VCTools::readInt(is);  // reserved
    Bytes raw;
    VCTools::readPayload(is, static_cast<std::uint64_t>(MessageSize), raw, UINT16_MAX);
    // The terminator is not part of the text; an odd byte count does not decode and gives "".
    const std::size_t textBytes = std::min<std::size_t>(raw.size(), MessageSize >= 2 ? MessageSize - 2 : 0);
    Text = utf::utf16LEToUtf8(std::span(raw.data(), textBytes)).value_or(std::string());
    VCTools::readByte(is);  // reserved
}

void TTextMessage::writeToMD(Bytes& md) const {
    md.reserve(md.size() + static_cast<std::size_t>(getSize()) + 1);
    VCTools::writeIntMD(md, FromUID);
    VCTools::writeIntMD(md, ToUID);
    VCTools::writeWordMD(md, static_cast<std::uint16_t>(RoomID));
    VCTools::writeWordMD(md, static_cast<std::uint16_t>(MessageType));
    VCTools::writeWordMD(md, static_cast<std::uint16_t>(getMessageSize()));
    VCTools::writeIntMD(md, 0);
    utf::appendUtf16LE(Text, md, kMaxTextUnits);
    md.insert(md.end(), 3, 0);  // terminator and the reserved byte
}

bool TTextMessage::writeToStream(OutputStream& os) const {
    Bytes md;
    writeToMD(md);
    return VCTools::writeToStream(os, md.data(), md.size());
}

}  // namespace veltrin
