#include "FileInfo.h"

#include "RecordCodec.h"

namespace veltrin {

namespace {

constexpr auto commonFields = [](auto& r, auto& v) {
    v.int32(r.ID);
    v.fixed(r.FileName, 200);
    v.fixed(r.OriginalName, 200);
    v.int32(r.FileSize);
    v.fixed(r.FileType, 20);
    v.fixed(r.Comment1, 200);
    v.fixed(r.UploadUser, 128);
    v.date(r.UploadDateTime);
    v.int32(r.CustomData);
};

constexpr auto extendedFields = [](auto& r, auto& v) {
    commonFields(r, v);
    v.int32(r.RoomId);
    v.fixed(r.GroupName, 250);
};

}  // namespace

void TFileInfo::readFromStream(InputStream& is) {
    codec::readRecord(*this, is, commonFields);
}

bool TFileInfo::writeToStream(OutputStream& os) const {
    return codec::writeRecord(*this, os, commonFields, kSize);
}

void TFileInfo::writeToMD(Bytes& md) const {
    codec::writeRecordMD(*this, md, commonFields, kSize);
}

void TFileInfo1::readFromStream(InputStream& is) {
    codec::readRecord(*this, is, extendedFields);
}

bool TFileInfo1::writeToStream(OutputStream& os) const {
    return codec::writeRecord(*this, os, extendedFields, kSize);
}

void TFileInfo1::writeToMD(Bytes& md) const {
    codec::writeRecordMD(*this, md, extendedFields, kSize);
}

}  // namespace veltrin
