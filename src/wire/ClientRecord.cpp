#include "ClientRecord.h"

#include "RecordCodec.h"

namespace veltrin {

namespace {

constexpr auto fields = [](auto& r, auto& v) {
    v.int32(r.UID);
    v.int32(r.RoomIndex);
    v.fixed(r.DisplayName, 20);
    v.fixed(r.FullName, 128);
    v.fixed(r.Email, 128);
    v.fixed(r.Address, 128);
    v.int32(r.CityId);
    v.fixed(r.CityName, 50);
    v.int32(r.CountryID);
    v.fixed(r.ZipCode, 20);
    v.fixed(r.Phones, 100);
    v.date(r.CreateDateTime);
    v.fixed(r.CreateIP, 20);
    v.fixed(r.LoginIP, 20);
    v.int32(r.UserTypeID);
    v.fixed(r.SexID, 3);
    v.date(r.BirthDate);
    v.fixed(r.Password, 50);
    v.int32(r.PersonalityID);
    v.fixed(r.Profession, 100);
    v.fixed(r.Languages, 100);
    v.int32(r.SeatID);
    v.int32(r.Age);
    v.fixed(r.PeerIP, 15);
    v.int32(r.PeerPort);
    v.date(r.LastAct);
    v.word(r.E_RoomID);
    v.date(r.E_EnrollDateTime);
    v.fixed(r.E_EnrollIP, 20);
    v.int32(r.E_EnrollStatusID);
    v.int32(r.E_UserStatusID);
    v.fixed(r.E_LastLoginIP, 20);
    v.date(r.E_LastLoginDateTime);
    v.date(r.LocalLoginDateTime);
    v.int32(r.TimeBias);
    v.fixed(r.SYS_SessionID, 30);
    v.byte(r.OnlineStatus);
    v.fixed(r.UserName, 50);
};

}  // namespace

// Dates start as day 0, the value a record read from an empty stream would hold.
TClientRecord::TClientRecord() {
    const CalendarDate dayZero = VCTools::DoubleToNSDate(0);
    CreateDateTime = BirthDate = LastAct = E_EnrollDateTime = E_LastLoginDateTime = LocalLoginDateTime =
        dayZero;
}

void TClientRecord::readFromStream(InputStream& is) {
    codec::readRecord(*this, is, fields);
}

bool TClientRecord::writeToStream(OutputStream& os) const {
    return codec::writeRecord(*this, os, fields, kSize);
}

void TClientRecord::writeToMD(Bytes& md) const {
    codec::writeRecordMD(*this, md, fields, kSize);
}

}  // namespace veltrin
