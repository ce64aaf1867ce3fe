#include "PingPacket.h"

#include "RecordCodec.h"

namespace veltrin {

namespace {

constexpr auto fields = [](auto& r, auto& v) {
    v.int32(r.ID);
    v.int32(r.FromID);
    v.int32(r.ToID);
    v.word(r.PingType);
    v.boolean(r.MustReply);
    v.boolean(r.MultipleAnswers);
    v.int32(r.AnswerMask);
    v.fixed(r.Text, 200);
};

}  // namespace

void TPingPacket::readFromStream(InputStream& is) {
    codec::readRecord(*this, is, fields);
}

bool TPingPacket::writeToStream(OutputStream& os) const {
    return codec::writeRecord(*this, os, fields, kSize);
}

void TPingPacket::writeToMD(Bytes& md) const {
    codec::writeRecordMD(*this, md, fields, kSize);
}

}  // namespace veltrin
