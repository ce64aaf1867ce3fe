#include "AccountData.h"

#include "RecordCodec.h"

namespace veltrin {

namespace {

constexpr auto fields = [](auto& r, auto& v) {
    v.int32(r.CID);
    v.fixed(r.CompanyName, 255);
    v.int32(r.prodId);
    v.int32(r.ModeratorsCount);
    v.fixed(r.Comp_LangCode, 20);
    v.fixed(r.User_LangCode, 20);
    v.int32(r.HDDLimit);
    v.int32(r.CompanyDefTimeZone);
    v.int32(r.UserDefTimeZone);
    v.int32(r.ServerTimeZone);
    v.fixed(r.SubDomain, 128);
    v.fixed(r.AccountURL, 128);
    v.int32(r.Reserved1);
    v.int32(r.Reserved2);
    v.int32(r.Reserved3);
    v.int32(r.Reserved4);
    v.int32(r.Reserved5);
};

}  // namespace

void TAccountDataEx::readFromStream(InputStream& is) {
    codec::readRecord(*this, is, fields);
}

bool TAccountDataEx::writeToStream(OutputStream& os) const {
    return codec::writeRecord(*this, os, fields, kSize);
}

void TAccountDataEx::writeToMD(Bytes& md) const {
    codec::writeRecordMD(*this, md, fields, kSize);
}

}  // namespace veltrin
