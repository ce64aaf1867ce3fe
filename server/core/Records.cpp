#include "server/core/Records.h"

#include <ctime>

#include "server/core/Client.h"
#include "server/core/Room.h"
#include "server/core/Server.h"

namespace veltrin::server {

std::int32_t serverTimeBias() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<std::int32_t>(local.tm_gmtoff / -60);
}

TClientRecord makeClientRecord(const Client& client) {
    const Account& a = *client.session().account;
    const SessionState& s = client.session();
    TClientRecord r;
    r.UID = a.uid;
    r.RoomIndex = client.room() ? client.room()->id() : 0;
    r.E_RoomID = r.RoomIndex & 0xFFFF;
    r.DisplayName = a.displayName;
    r.FullName = a.fullName;
    r.Email = a.email;
    r.UserTypeID = s.userTypeId;
    r.UserName = a.userName;
    r.LoginIP = client.peerAddress();
    r.E_LastLoginIP = client.peerAddress();
    r.LocalLoginDateTime = VCTools::DoubleToNSDate(s.logOnTime);
    r.E_LastLoginDateTime = r.LocalLoginDateTime;
    r.LastAct = r.LocalLoginDateTime;
    r.TimeBias = s.timeBias;
    r.OnlineStatus = static_cast<std::uint8_t>(s.status.OnlineStatus);
    r.SYS_SessionID = "S" + std::to_string(client.serial());
    return r;
}

TRoomHeader makeRoomHeader(const Room& room) {
    const RoomConfig& c = room.config();
    TRoomHeader h;
    h.ID = c.id;
    h.Name = c.name;
    h.Topic = c.topic;
    h.Description = c.description;
    h.CreatorID = c.creatorId;
    h.SupervisorID = c.supervisorId;
    h.Capacity = c.capacity;
    h.AccessTypeID = c.accessTypeId;
    h.RoomStatusID = c.active ? 1 : 0;
    h._countNow = static_cast<std::int32_t>(room.count());
    h.ServerBias = serverTimeBias();
    h.InstructorName = c.instructorName;
    h.AllowRecordings = c.allowRecordings;
    h.AllowInvitations = c.allowInvitations;
    h.AllowAppShare = c.allowAppShare;
    h.AllowFullDupAudio = c.allowFullDupAudio;
    h.WelcomeURL = c.welcomeUrl;
    h.AllowGraphCalculator = c.allowGraphCalculator;
    h.AllowOnlineExams = c.allowOnlineExams;
    h.AllowVideo = c.allowVideo;
    h.DefaultAudioCodecID = c.defaultAudioCodecId;
    h.DefaultVideoCodecID = c.defaultVideoCodecId;
    h.MikesCount = room.mikesCount();
    h.CompanyID = c.companyId;
    return h;
}

TUserItem makeUserItem(const Client& client) {
    const Account& a = *client.session().account;
    const SessionState& s = client.session();
    TUserItem u;
    u.UID = a.uid;
    u.DisplayName = a.displayName;
    u.FullName = a.fullName;
    u.Email = a.email;
    u.UserTypeID = s.userTypeId;
    u.LocalLoginDateTime = s.logOnTime;
    u.TimeBias = s.timeBias;
    u.OnlineStatus = s.status.OnlineStatus;
    u.UserName = a.userName;
    return u;
}

TAccountDataEx makeAccountData(const Server& server, const Client& client) {
    const Company& co = server.config().company;
    TAccountDataEx d;
    d.CID = co.id;
    d.CompanyName = co.name;
    d.ModeratorsCount = co.moderatorsCount;
    d.Comp_LangCode = co.langCode;
    d.User_LangCode = co.langCode;
    d.CompanyDefTimeZone = serverTimeBias();
    d.UserDefTimeZone = client.session().timeBias;
    d.ServerTimeZone = serverTimeBias();
    return d;
}

}  // namespace veltrin::server
