#include "ClientStatusPack.h"

#include "RecordCodec.h"

namespace veltrin {

namespace {

constexpr auto fields = [](auto& r, auto& v) {
    v.int32(r.UID);
    v.byte(r.OnlineStatus);
    v.byte(r.Mike_Status);
    v.byte(r.Video_Status);
    v.boolean(r.Board_BoardAllowed);
    v.boolean(r.Board_NowDrawing);
    v.int32(r.MotionStatus);
    v.boolean(r.AppShare_Allowed);
    v.boolean(r.AppShare_NowSharing);
};

}  // namespace

void TClientStatusPack::readFromStream(InputStream& is) {
    codec::readRecord(*this, is, fields);
}

bool TClientStatusPack::writeToStream(OutputStream& os) const {
    return codec::writeRecord(*this, os, fields, kSize);
}

void TClientStatusPack::writeToMD(Bytes& md) const {
    codec::writeRecordMD(*this, md, fields, kSize);
}

}  // namespace veltrin
