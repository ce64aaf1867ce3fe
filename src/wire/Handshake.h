#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "wire/Streams.h"
#include "wire/TCommand.h"

namespace veltrin {

// Every TCP channel opens with a version check, then a big-endian channel selector, then the
// channel's own authentication. These are the client's sides of those steps; ServerHandshake.h
// has the server's.

// The identity every channel of this client sends.
inline constexpr std::string_view kClientVersion = "8.0";
inline constexpr std::string_view kClientVersionDate = "Mar-01-2015";
// The version exchange is two fixed-size strings: 1 + 10 and 1 + 20 bytes.
inline constexpr int kVersionFieldSize = 10;
inline constexpr int kVersionDateFieldSize = 20;
inline constexpr int kVersionExchangeSize = 2 + kVersionFieldSize + kVersionDateFieldSize;

// Channel selectors. Values are the server's; append only.
enum class ChannelSelector : std::int32_t {
    Main = 250,
    Audio = 251,
    Video = 252,
    FileTransfer = 253,  // uploads and downloads alike
};

// Result codes of connections and handshakes. Any other value is the server's Result word; of
// those, 1 and 2 refuse the user name or password.
inline constexpr int kResultSuccess = 0;
inline constexpr int kResultServerNewer = 400;     // success; the server's version date is newer
inline constexpr int kResultExchangeFailed = 300;  // no answer, or reading or writing failed
inline constexpr int kResultConnectFailed = 13;    // the TCP connect itself failed
inline constexpr int kResultStreamError = -1;      // the output stream failed after the version
inline constexpr int kResultOutdatedClient = 21;

// What the user is shown when the server refuses this client's version; the shell shows it, opens
// the download page with downloadPageQuery() and quits.
inline constexpr std::string_view kUpdateNeededTitle = "Update Needed";
inline constexpr std::string_view kUpdateNeededButton = "OK";
inline constexpr std::string_view kUpdateNeededText =
    "You are using an outdated version of the virtual classroom. You have to update your application "
    "before you can continue. You will be taken to a downloads page to do so. \n\nPlease download and "
    "install the latest virtual classroom and then try to connect again.";

// Called (on the connecting thread) when the server says this client is outdated and sends its own
// version and date.
using OutdatedHandler = std::function<void(const std::string& serverVersion, const std::string& serverDate)>;

// The version check: writes the 32-byte version exchange and reads the server's answer frame.
// Answers 0, 400, 300, -1 or the server's Result (21: outdated; onOutdated was then called if the
// answer carried the server's version).
int checkVersion(std::string_view version, std::string_view date, InputStream& is, OutputStream& os,
                 const OutdatedHandler& onOutdated);

// Version check followed by the channel selector, which is written only when the check allows it:
// the main channel goes on after 0 or 400, the other channels only after exactly 0. Answers the
// check's result (-1 if writing the selector fails). The caller goes on only after 0, or after 400
// on the main channel.
int openChannel(ChannelSelector channel, InputStream& is, OutputStream& os, const OutdatedHandler& onOutdated,
                std::string_view version = kClientVersion, std::string_view date = kClientVersionDate);

// Whether a version check result lets the given channel go on to its selector.
bool versionCheckPasses(ChannelSelector channel, int result);

// The main channel's log-on: the simple log-on record (UID 0), then the answer frame. Answers the
// frame's Result, or 300 without one. On 0 the caller reads the client record that follows; the
// frame itself is copied to `answer` when given.
int LogOnUser(std::string_view userName, std::string_view password, InputStream& is, OutputStream& os,
              TCommand* answer = nullptr);

// "Mon-DD-YYYY" as "YYYYMMDD", comparable as text; texts of 9 characters or fewer give "00000000".
std::string ConvertVersionDateToString(std::string_view versionDate);

// The query of the download page for an outdated client, values percent-encoded.
std::string downloadPageQuery(std::string_view serverVersion, std::string_view serverDate);

}  // namespace veltrin
