#include "UserItem.h"

#include "RecordCodec.h"

namespace veltrin {

namespace {

constexpr auto fields = [](auto& r, auto& v) {
    v.int32(r.UID);
    v.fixed(r.DisplayName, 20);
    v.fixed(r.FullName, 128);
    v.fixed(r.Email, 128);
    v.fixed(r.CityName, 50);
    v.int32(r.CountryID);
    v.int32(r.UserTypeID);
    v.fixed(r.Gender, 3);
    v.int32(r.PersonalityID);
    v.int32(r.SeatId);
    v.fixed(r.Profession, 100);
    v.fixed(r.ShortAddress, 128);
    v.fixed(r.Languages, 100);
    v.date(r.BirthDate);
    v.int32(r.Age);
    v.date(r.LocalLoginDateTime);
    v.int32(r.TimeBias);
    v.byte(r.OnlineStatus);
    v.fixed(r.UserName, 50);
};

}  // namespace

void TUserItem::readFromStream(InputStream& is) {
    codec::readRecord(*this, is, fields);
    VoiceAllowed = BoardAllowed = UserTypeID > 0;
    VideoAllowed = false;
    HandNumber = 0;
    TypingStatus = TickVisible = false;
    statusPack = TClientStatusPack();
}

bool TUserItem::writeToStream(OutputStream& os) const {
    return codec::writeRecord(*this, os, fields, kSize);
}

void TUserItem::writeToMD(Bytes& md) const {
    codec::writeRecordMD(*this, md, fields, kSize);
}

}  // namespace veltrin
