#include "RoomHeader.h"

#include "RecordCodec.h"

namespace veltrin {

namespace {

constexpr auto fields = [](auto& r, auto& v) {
    v.int32(r.ID);
    v.fixed(r.Name, 200);
    v.fixed(r.Topic, 250);
    v.fixed(r.Description, 250);
    v.date(r.CreateDateTime);
    v.int32(r.CreatorID);
    v.int32(r.SupervisorID);
    v.int32(r.Capacity);
    v.int32(r.AccessTypeID);
    v.date(r.ExpireDateTime);
    v.int32(r.RoomStatusID);
    v.int32(r._countNow);
    v.int32(r.ServerBias);
    v.fixed(r.InstructorName, 128);
    v.int32(r.CurrentSpeakerID);
    v.int32(r.BoardControlIn);
    v.int32(r.AppShareIn);
    v.int32(r.VideoIn);
    v.fixed(r.SecretCode, 200);
    v.boolean(r.AllowRecordings);
    v.boolean(r.AllowInvitations);
    v.boolean(r.AllowAppShare);
    v.boolean(r.AllowFullDupAudio);
    v.fixed(r.WelcomeURL, 250);
    v.boolean(r.AllowGraphCalculator);
    v.boolean(r.AllowOnlineExams);
    v.boolean(r.AllowVideo);
    v.int32(r.DefaultAudioCodecID);
    v.int32(r.DefaultVideoCodecID);
    v.int32(r.MikesCount);
    v.int32(r.Reserved1);
    v.int32(r.Reserved2);
    v.fixed(r.Reserved3, 50);
    v.int32(r.CompanyID);
};

}  // namespace

// Dates start as day 0, the value a record read from an empty stream would hold.
TRoomHeader::TRoomHeader() {
    CreateDateTime = ExpireDateTime = VCTools::DoubleToNSDate(0);
}

void TRoomHeader::readFromStream(InputStream& is) {
    codec::readRecord(*this, is, fields);
}

bool TRoomHeader::writeToStream(OutputStream& os) const {
    return codec::writeRecord(*this, os, fields, kSize);
}

void TRoomHeader::writeToMD(Bytes& md) const {
    codec::writeRecordMD(*this, md, fields, kSize);
}

}  // namespace veltrin
