#include "LogOnRecords.h"

#include "RecordCodec.h"

namespace veltrin {

namespace {

constexpr auto fields = [](auto& r, auto& v) {
    v.int32(r.UID);
    v.fixed(r.Password, 50);
    v.fixed(r.Username, 50);
};

}  // namespace

void TSimpleLogin::readFromStream(InputStream& is) {
    codec::readRecord(*this, is, fields);
}

bool TSimpleLogin::writeToStream(OutputStream& os) const {
    return codec::writeRecord(*this, os, fields, kSize);
}

void TSimpleLogin::writeToMD(Bytes& md) const {
    codec::writeRecordMD(*this, md, fields, kSize);
}

}  // namespace veltrin
