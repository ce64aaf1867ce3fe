#pragma once

#include <cstdint>
#include <string>

#include "wire/Streams.h"

namespace veltrin {

// A chat or notes line: an 18-byte head, the text in UTF-16LE with a two-byte terminator, and a
// reserved byte. The record occupies getSize() + 1 bytes.
struct TTextMessage {
    static constexpr int kStructureSize = 18;
    // MessageSize is a word: the text is cut (never inside a surrogate pair) to at most this many
    // UTF-16 code units so that its size plus the terminator still fits.
    static constexpr std::size_t kMaxTextUnits = 32766;

    std::int32_t FromUID = 0;
    std::int32_t ToUID = 0;        // 0 for everybody
    std::int32_t RoomID = 0;       // a word on the wire
    std::int32_t MessageType = 0;  // a word on the wire
    // As received. Writers ignore it and send getMessageSize().
    std::int32_t MessageSize = 0;
    std::string Text;  // UTF-8

    // Kept with the message for display, never sent.
    std::string NameToUse;
    std::string TimeToShow;

    static constexpr int getStructureSize() { return kStructureSize; }
    // UTF-16LE byte length of the (possibly cut) text plus the terminator; 2 for text that is not UTF-8.
    int getMessageSize() const;
    int getSize() const { return kStructureSize + getMessageSize(); }

    void readFromStream(InputStream& is);
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;
};

}  // namespace veltrin
