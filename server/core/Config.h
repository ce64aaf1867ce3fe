#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace veltrin::server {

// What the server answers to the version exchange. A non-zero result tells the client it is
// outdated; a date later than the client's makes it offer an update.
struct VersionAnswer {
    std::string version = "8.0";
    std::string date = "Mar-01-2015";
    std::uint16_t result = 0;
    bool withPayload = true;  // off: the answer frame carries no version strings
};

struct Account {
    std::string userName;
    std::string password;
    std::int32_t userTypeId = 0;  // 0 attendee, 1000 moderator, anything else administrator
    std::string fullName;
    std::string displayName;
    std::string email;
    std::int32_t uid = 0;
};

struct RoomConfig {
    std::int32_t id = 0;
    std::string name;
    std::string topic;
    std::string description;
    std::string instructorName;
    std::string welcomeUrl;
    bool active = true;
    bool tokensRequired = false;  // joining needs an entry token accepted for this room
    std::int32_t capacity = 50;
    std::int32_t accessTypeId = 0;
    std::int32_t mikesCount = 2;
    std::int32_t creatorId = 0;
    std::int32_t supervisorId = 0;
    std::int32_t companyId = 1;
    std::int32_t defaultAudioCodecId = 0;
    std::int32_t defaultVideoCodecId = 0;
    bool allowRecordings = true;
    bool allowInvitations = false;
    bool allowAppShare = true;
    bool allowFullDupAudio = false;
    bool allowGraphCalculator = false;
    bool allowOnlineExams = false;
    bool allowVideo = true;
};

struct Company {
    std::int32_t id = 1;
    std::string name = "Veltrin Demo School";
    std::int32_t moderatorsCount = 5;
    std::string langCode = "en";
    std::int32_t hostAccountType = 0;  // the two ints of the host-account-type answer
    std::int32_t hostAccountValue = 0;
};

struct EntryToken {
    std::int32_t roomId = 0;
    std::string value;
};

struct ServerConfig {
    VersionAnswer version;
    Company company;
    std::vector<Account> accounts;
    std::vector<RoomConfig> rooms;
    std::vector<EntryToken> tokens;

    const Account* findAccount(const std::string& userName) const;
    // The log-on answer for these credentials on any channel: 0, 1 for an unknown user, 2 for a
    // wrong password.
    std::uint16_t logOnResult(const std::string& userName, const std::string& password) const;
    const RoomConfig* findRoom(std::int32_t id) const;
};

// The configuration used without a rooms file: a moderator, three attendees, an administrator
// and one active room (1001 "Demo Classroom").
ServerConfig demoConfig();

struct ConfigError {
    int line = 0;
    std::string message;
};

// Parses the rooms file format (see server/README.md). Accounts without an explicit uid get
// 100 + their position among the accounts, so uids stay stable for a given file.
struct ConfigParseResult {
    std::optional<ServerConfig> config;
    ConfigError error;
};
ConfigParseResult parseConfig(const std::string& text);
ConfigParseResult loadConfigFile(const std::string& path);

// Splits one line into words: blanks separate, double quotes group (with \" and \\ escapes), a
// word may be key=value with a quoted value, and # outside quotes starts a comment.
// Answers nothing when a quote is left open.
std::optional<std::vector<std::string>> splitConfigLine(const std::string& line);

}  // namespace veltrin::server
