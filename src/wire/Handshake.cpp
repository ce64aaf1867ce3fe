#include "Handshake.h"

#include <algorithm>
#include <cctype>

#include "Log.h"
#include "VCTools.h"

namespace veltrin {

namespace {

// The answer to the version exchange carries at most the server's version and date; a size far
// above that is not an answer this client can frame.
constexpr std::uint32_t kMaxVersionAnswerBytes = 4096;

char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Case-insensitive comparison of ASCII text: -1, 0 or 1.
long compareIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = upper(a[i]);
        const char y = upper(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int checkVersionUnguarded(std::string_view version, std::string_view date, InputStream& is, OutputStream& os,
                          const OutdatedHandler& onOutdated) {
    logLine("Preparing to check version.");
    Bytes exchange;
    VCTools::writeFixedStringMD(exchange, version, kVersionFieldSize);
    VCTools::writeFixedStringMD(exchange, date, kVersionDateFieldSize);
    const bool written = VCTools::writeToStream(os, exchange.data(), exchange.size());
    if (!written || os.status() == StreamStatus::Error) {
        logf("Stream Error: %ld", static_cast<long>(os.errorCode()));
        return kResultStreamError;
    }

    const std::optional<TCommand> answer = VCTools::readCommand(is);
    if (!answer) return kResultExchangeFailed;

    int result = answer->Result;
    if (answer->DataSize != 0) {
        // The payload is consumed by its size, so that whatever the server adds after its version
        // and date cannot be mistaken for the next step.
        if (answer->DataSize > kMaxVersionAnswerBytes) return kResultExchangeFailed;
        Bytes payload;
        if (VCTools::readPayload(is, answer->DataSize, payload, kMaxVersionAnswerBytes) !=
            ReadStatus::Complete)
            return kResultExchangeFailed;
        MemoryInputStream fields{std::span<const std::uint8_t>(payload)};
        const std::string serverVersion = VCTools::readFixedString(fields, kVersionFieldSize);
        const std::string serverDate = VCTools::readFixedString(fields, kVersionDateFieldSize);
        logf("Server Version: %s, date: %s", serverVersion.c_str(), serverDate.c_str());

        if (answer->Result != 0) {
            if (onOutdated) onOutdated(serverVersion, serverDate);
        } else {
            const std::string server = ConvertVersionDateToString(serverDate);
            const std::string client = ConvertVersionDateToString(date);
            const long order = compareIgnoringCase(server, client);
            logf("%s, %s, %ld ", server.c_str(), client.c_str(), order);
            if (order > 0) {
                logLine("Server version new");
                result = kResultServerNewer;
            }
        }
    }
    logf("CheckVersion cmd %d data size %d", static_cast<int>(answer->CommandID),
         static_cast<int>(answer->DataSize));
    return result;
}

}  // namespace

int checkVersion(std::string_view version, std::string_view date, InputStream& is, OutputStream& os,
                 const OutdatedHandler& onOutdated) {
    try {
        return checkVersionUnguarded(version, date, is, os, onOutdated);
    } catch (...) {
        return kResultExchangeFailed;
    }
}

bool versionCheckPasses(ChannelSelector channel, int result) {
    if (result == kResultSuccess) return true;
    return channel == ChannelSelector::Main && result == kResultServerNewer;
}

int openChannel(ChannelSelector channel, InputStream& is, OutputStream& os, const OutdatedHandler& onOutdated,
                std::string_view version, std::string_view date) {
    const int result = checkVersion(version, date, is, os, onOutdated);
    if (!versionCheckPasses(channel, result)) return result;
    if (!VCTools::writeBEInt(os, static_cast<std::int32_t>(channel))) return kResultStreamError;
    return result;
}

int LogOnUser(std::string_view userName, std::string_view password, InputStream& is, OutputStream& os,
              TCommand* answer) {
    try {
        TSimpleLogin login;
        login.UID = 0;
        login.Password = std::string(password);
        login.Username = std::string(userName);
        if (!VCTools::writeTSimpleLogIn(os, login)) return kResultExchangeFailed;
        const std::optional<TCommand> frame = VCTools::readCommand(is);
        if (!frame) return kResultExchangeFailed;
        if (answer) *answer = *frame;
        return frame->Result;
    } catch (...) {
        return kResultExchangeFailed;
    }
}

std::string ConvertVersionDateToString(std::string_view versionDate) {
    if (versionDate.size() <= 9) return "00000000";
    static constexpr std::string_view kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                   "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    std::string month;
    for (const char c : versionDate.substr(0, 3)) month.push_back(upper(c));
    for (std::size_t i = 0; i < std::size(kMonths); ++i) {
        if (month == kMonths[i]) {
            month = {static_cast<char>('0' + (i + 1) / 10), static_cast<char>('0' + (i + 1) % 10)};
            break;
        }
    }
    const std::string_view day = versionDate.substr(4, 2);
    const std::string_view yearText = versionDate.substr(versionDate.size() - 4);
    return std::string(yearText) + month + std::string(day);
}

std::string downloadPageQuery(std::string_view serverVersion, std::string_view serverDate) {
    const auto encode = [](std::string_view text) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string out;
        for (const char c : text) {
            const auto b = static_cast<unsigned char>(c);
            if (std::isalnum(b) || c == '-' || c == '.' || c == '_' || c == '~') {
                out.push_back(c);
            } else {
                out.push_back('%');
                out.push_back(kHex[b >> 4]);
                out.push_back(kHex[b & 0xF]);
            }
        }
        return out;
    };
    return "?topic=plugindownload&mac=yes&v=" + encode(serverVersion) + "&vd=" + encode(serverDate);
}

}  // namespace veltrin
