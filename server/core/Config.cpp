#include "server/core/Config.h"

#include <charconv>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

namespace veltrin::server {

const Account* ServerConfig::findAccount(const std::string& userName) const {
    for (const auto& a : accounts)
        if (a.userName == userName) return &a;
    return nullptr;
}

std::uint16_t ServerConfig::logOnResult(const std::string& userName, const std::string& password) const {
    const Account* account = findAccount(userName);
    if (account == nullptr) return 1;
    return account->password == password ? 0 : 2;
}

const RoomConfig* ServerConfig::findRoom(std::int32_t id) const {
    for (const auto& r : rooms)
        if (r.id == id) return &r;
    return nullptr;
}

ServerConfig demoConfig() {
    ServerConfig c;
    c.accounts = {
        {"teacher", "teacher", 1000, "Terry Teacher", "Teacher", "teacher@demo.invalid", 101},
        {"student1", "student1", 0, "Sam Student", "Sam", "student1@demo.invalid", 102},
        {"student2", "student2", 0, "Alex Attendee", "Alex", "student2@demo.invalid", 103},
        {"student3", "student3", 0, "Robin Reader", "Robin", "student3@demo.invalid", 104},
        {"admin", "admin", 1, "Ada Administrator", "Admin", "admin@demo.invalid", 105},
    };
    RoomConfig room;
    room.id = 1001;
    room.name = "Demo Classroom";
    room.topic = "Welcome to the demo classroom";
    room.description = "A room of the reference server for trying the client";
    room.instructorName = "Terry Teacher";
    room.capacity = 50;
    room.mikesCount = 2;
    room.creatorId = 101;
    room.supervisorId = 101;
    room.allowRecordings = true;
    room.allowAppShare = true;
    room.allowVideo = true;
    c.rooms.push_back(room);
    return c;
}

std::optional<std::vector<std::string>> splitConfigLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool inQuotes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (inQuotes) {
            if (ch == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                word += line[++i];
            } else if (ch == '"') {
                inQuotes = false;
            } else {
                word += ch;
            }
        } else if (ch == '"') {
            inQuotes = true;
            inWord = true;
        } else if (ch == '#') {
            break;
        } else if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += ch;
            inWord = true;
        }
    }
    if (inQuotes) return std::nullopt;
    if (inWord) words.push_back(std::move(word));
    return words;
}

namespace {

class LineParser {
public:
    explicit LineParser(ServerConfig& config) : c_(config) {}

    // Answers an empty text on success, else what is wrong with the line.
    std::string parse(const std::vector<std::string>& w) {
        const std::string& kind = w[0];
        if (kind == "version") return parseVersion(w);
        if (kind == "account") return parseAccount(w);
        if (kind == "room") return parseRoom(w);
        if (kind == "token") return parseToken(w);
        if (kind == "company") return parseCompany(w);
        return "unknown entry '" + kind + "'";
    }

private:
    using Options = std::map<std::string, std::string>;

    static bool toInt(const std::string& s, std::int32_t& out) {
        const char* end = s.data() + s.size();
        auto [p, ec] = std::from_chars(s.data(), end, out);
        return ec == std::errc() && p == end && !s.empty();
    }
    static bool toBool(const std::string& s, bool& out) {
        if (s == "yes" || s == "on" || s == "true" || s == "1") return out = true, true;
        if (s == "no" || s == "off" || s == "false" || s == "0") return out = false, true;
        return false;
    }

    // Words from `first` on are key=value options.
    static std::string splitOptions(const std::vector<std::string>& w, std::size_t first, Options& out) {
        for (std::size_t i = first; i < w.size(); ++i) {
            const auto eq = w[i].find('=');
            if (eq == std::string::npos || eq == 0) return "expected key=value, got '" + w[i] + "'";
            out[w[i].substr(0, eq)] = w[i].substr(eq + 1);
        }
        return {};
    }

    struct IntField {
        const char* key;
        std::int32_t* target;
    };
    struct BoolField {
        const char* key;
        bool* target;
    };
    struct TextField {
        const char* key;
        std::string* target;
    };
    static std::string apply(Options& opts, std::initializer_list<IntField> ints,
                             std::initializer_list<BoolField> bools, std::initializer_list<TextField> texts) {
        for (const auto& f : ints) {
            auto it = opts.find(f.key);
            if (it == opts.end()) continue;
            if (!toInt(it->second, *f.target)) return std::string("'") + f.key + "' needs a number";
            opts.erase(it);
        }
        for (const auto& f : bools) {
            auto it = opts.find(f.key);
            if (it == opts.end()) continue;
            if (!toBool(it->second, *f.target)) return std::string("'") + f.key + "' needs yes or no";
            opts.erase(it);
        }
        for (const auto& f : texts) {
            auto it = opts.find(f.key);
            if (it == opts.end()) continue;
            *f.target = it->second;
            opts.erase(it);
        }
        if (!opts.empty()) return "unknown option '" + opts.begin()->first + "'";
        return {};
    }

    std::string parseVersion(const std::vector<std::string>& w) {
        if (w.size() < 3) return "version needs VERSION DATE";
        VersionAnswer v;
        v.version = w[1];
        v.date = w[2];
        Options opts;
        std::int32_t result = 0;
        if (auto e = splitOptions(w, 3, opts); !e.empty()) return e;
        if (auto e = apply(opts, {{"result", &result}}, {{"payload", &v.withPayload}}, {}); !e.empty()) return e;
        if (result < 0 || result > 0xFFFF) return "result must fit in a word";
        v.result = static_cast<std::uint16_t>(result);
        c_.version = v;
        return {};
    }

    std::string parseAccount(const std::vector<std::string>& w) {
        if (w.size() < 5) return "account needs NAME PASSWORD USERTYPE \"Full Name\"";
        Account a;
        a.userName = w[1];
        a.password = w[2];
        if (!toInt(w[3], a.userTypeId)) return "USERTYPE must be a number";
        a.fullName = w[4];
        a.uid = 100 + static_cast<std::int32_t>(c_.accounts.size()) + 1;
        Options opts;
        if (auto e = splitOptions(w, 5, opts); !e.empty()) return e;
        if (auto e = apply(opts, {{"uid", &a.uid}}, {}, {{"display", &a.displayName}, {"email", &a.email}});
            !e.empty())
            return e;
        if (a.uid <= 0) return "uid must be positive";
        if (a.displayName.empty()) a.displayName = a.userName;
        if (c_.findAccount(a.userName)) return "account '" + a.userName + "' given twice";
        for (const auto& other : c_.accounts)
            if (other.uid == a.uid) return "uid " + std::to_string(a.uid) + " given twice";
        c_.accounts.push_back(std::move(a));
        return {};
    }

    std::string parseRoom(const std::vector<std::string>& w) {
        if (w.size() < 3) return "room needs ID \"Name\"";
        RoomConfig r;
        if (!toInt(w[1], r.id) || r.id <= 0) return "room ID must be a positive number";
        r.name = w[2];
        Options opts;
        if (auto e = splitOptions(w, 3, opts); !e.empty()) return e;
        std::string tokens = "optional";
        auto e = apply(opts,
                       {{"mikes", &r.mikesCount},
                        {"capacity", &r.capacity},
                        {"access", &r.accessTypeId},
                        {"creator", &r.creatorId},
                        {"supervisor", &r.supervisorId},
                        {"company", &r.companyId},
                        {"audio-codec", &r.defaultAudioCodecId},
                        {"video-codec", &r.defaultVideoCodecId}},
                       {{"active", &r.active},
                        {"recordings", &r.allowRecordings},
                        {"invitations", &r.allowInvitations},
                        {"appshare", &r.allowAppShare},
                        {"fullduplex", &r.allowFullDupAudio},
                        {"calculator", &r.allowGraphCalculator},
                        {"exams", &r.allowOnlineExams},
                        {"video", &r.allowVideo}},
                       {{"topic", &r.topic},
                        {"description", &r.description},
                        {"instructor", &r.instructorName},
                        {"welcome", &r.welcomeUrl},
                        {"tokens", &tokens}});
        if (!e.empty()) return e;
        if (tokens != "optional" && tokens != "required") return "tokens must be optional or required";
        r.tokensRequired = tokens == "required";
        if (c_.findRoom(r.id)) return "room " + std::to_string(r.id) + " given twice";
        c_.rooms.push_back(std::move(r));
        return {};
    }

    std::string parseToken(const std::vector<std::string>& w) {
        if (w.size() != 3) return "token needs ROOM VALUE";
        EntryToken t;
        if (!toInt(w[1], t.roomId)) return "token ROOM must be a number";
        t.value = w[2];
        if (t.value.empty()) return "token VALUE must not be empty";
        for (const auto& other : c_.tokens)
            if (other.value == t.value) return "token '" + t.value + "' given twice";
        c_.tokens.push_back(std::move(t));
        return {};
    }

    std::string parseCompany(const std::vector<std::string>& w) {
        if (w.size() < 2) return "company needs \"Name\"";
        Company co = c_.company;
        co.name = w[1];
        Options opts;
        if (auto e = splitOptions(w, 2, opts); !e.empty()) return e;
        auto e = apply(opts,
                       {{"id", &co.id},
                        {"moderators", &co.moderatorsCount},
                        {"host-type", &co.hostAccountType},
                        {"host-value", &co.hostAccountValue}},
                       {}, {{"lang", &co.langCode}});
        if (e.empty()) c_.company = co;
        return e;
    }

    ServerConfig& c_;
};

}  // namespace

ConfigParseResult parseConfig(const std::string& text) {
    ConfigParseResult out;
    ServerConfig config;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        auto words = splitConfigLine(line);
        if (!words) {
            out.error = {lineNo, "unterminated quote"};
            return out;
        }
        if (words->empty()) continue;
        LineParser parser(config);
        if (auto e = parser.parse(*words); !e.empty()) {
            out.error = {lineNo, e};
            return out;
        }
    }
    for (const auto& t : config.tokens) {
        if (!config.findRoom(t.roomId)) {
            out.error = {0, "token '" + t.value + "' names unknown room " + std::to_string(t.roomId)};
            return out;
        }
    }
    out.config = std::move(config);
    return out;
}

ConfigParseResult loadConfigFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        ConfigParseResult out;
        out.error = {0, "cannot read " + path};
        return out;
    }
    std::ostringstream ss;
    ss << f.rdbuf();
    return parseConfig(ss.str());
}

}  // namespace veltrin::server
