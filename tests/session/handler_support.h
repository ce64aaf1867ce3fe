#pragma once

// Payload builders and a log capture for the dispatcher tests. Payloads are written with the wire
// writers, so the tests exercise the same encodings the server uses.

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "session/IncomingRecords.h"
#include "wire/AppShareRecords.h"
#include "tests/support/LogCapture.h"
#include "wire/Log.h"
#include "wire/PaintObjectHeader.h"
#include "wire/Records.h"
#include "wire/VCTools.h"

namespace veltrin::test {

using LogCapture = testing::LogCapture;

class Payload {
public:
    Payload& i32(std::int32_t v) {
        VCTools::writeIntMD(b_, v);
        return *this;
    }
    Payload& byte(std::uint8_t v) {
        VCTools::writeByteMD(b_, v);
        return *this;
    }
    Payload& boolean(bool v) {
        VCTools::writeBooleanMD(b_, v);
        return *this;
    }
    Payload& fixed(const std::string& s, int size) {
        VCTools::writeFixedStringMD(b_, s, size);
        return *this;
    }
    Payload& intString(const std::string& s) {
        VCTools::writeStringIntSizeMD(b_, s);
        return *this;
    }
    Payload& utf16(const std::string& s) {
        VCTools::writeUTF16LEIntStringMD(b_, s);
        return *this;
    }
    Payload& raw(const Bytes& bytes) {
        b_.insert(b_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Payload& frame(const TCommand& c) {
        VCTools::writeCommandMD(b_, c);
        return *this;
    }
    template <class Record>
    Payload& record(const Record& r) {
        r.writeToMD(b_);
        return *this;
    }

    operator Bytes() const { return b_; }  // NOLINT: builders read best as plain values
    const Bytes& bytes() const { return b_; }

private:
    Bytes b_;
};

inline TUserItem userItem(int uid, const std::string& fullName, int userType = 0) {
    TUserItem u;
    u.UID = uid;
    u.FullName = fullName;
    u.UserTypeID = userType;
    return u;
}

inline TClientStatusPack statusPack(int uid, int mike, int video, bool board, int motion) {
    TClientStatusPack p;
    p.UID = uid;
    p.Mike_Status = mike;
    p.Video_Status = video;
    p.Board_BoardAllowed = board;
    p.MotionStatus = motion;
    return p;
}

inline TTextMessage textMessage(int from, int to, int type, const std::string& text) {
    TTextMessage m;
    m.FromUID = from;
    m.ToUID = to;
    m.MessageType = type;
    m.Text = text;
    return m;
}

inline TFileInfo fileInfo(int id, const std::string& name, const std::string& comment = {}) {
    TFileInfo f;
    f.ID = id;
    f.FileName = name;
    f.Comment1 = comment;
    return f;
}

inline TRoomHeader roomHeader(int id, const std::string& name) {
    TRoomHeader r;
    r.ID = id;
    r.Name = name;
    return r;
}

inline TClientRecord clientRecord(int uid) {
    TClientRecord c;
    c.UID = uid;
    return c;
}

// A server board snapshot (with object headers). Objects get `bodyBytes` bytes of body each.
// The fields of a server board snapshot up to its has-image flag (an 800 x 600 white board).
inline Payload boardHead(int index, const std::string& title, bool loaded, bool hasImage) {
    Payload p;
    p.i32(index).i32(0).i32(0).boolean(!loaded);
    p.intString("b-" + std::to_string(index)).intString(title);
    p.i32(1).i32(800).i32(600).raw({255, 255, 255, 0});
    p.boolean(true).boolean(hasImage);
    return p;
}

inline Bytes boardSnapshot(int index, const std::string& title, std::initializer_list<int> objectIds,
                           int bodyBytes = 3, bool withImage = false) {
    Payload p = boardHead(index, title, true, withImage);
    if (withImage) p.i32(2).i32(4).raw({0x89, 'P', 'N', 'G'});
    p.i32(static_cast<std::int32_t>(objectIds.size()));
    for (int id : objectIds) {
        TPaintObjectHeader h;
        h.UserId = 7;
        h.BoardIndex = index;
        h.LocalIndex = id;
        h.ObjectSize = bodyBytes;
        p.record(h).raw(Bytes(static_cast<std::size_t>(bodyBytes), 0xAB));
    }
    return p;
}

}  // namespace veltrin::test
