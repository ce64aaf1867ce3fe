#include "app/core/LaunchLink.h"

#include <QDir>
#include <QUrl>

#include <limits>
#include <optional>

#include "app/core/Branding.h"

namespace veltrin {
namespace {

constexpr char PasswordMask[] = "****";
constexpr char JoinScheme[] = "vcc8join";
constexpr char HttpPlaybackScheme[] = "vc8http";
constexpr char HttpsPlaybackScheme[] = "vc8https";

bool isSchemeText(QStringView text) {
    if (text.isEmpty() || !text.front().isLetter() || text.front().unicode() > 0x7f) return false;
    for (const QChar c : text) {
        const bool ok = (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == u'+' || c == u'-' || c == u'.';
        if (!ok) return false;
    }
    return true;
}

// The lower-cased scheme of a URL text, or nothing for a plain path. "/tmp/a:b.vc8" has none.
QString schemeOf(const QString& text) {
    const qsizetype colon = text.indexOf(u':');
    if (colon <= 0) return {};
    const QStringView candidate = QStringView(text).left(colon);
    return isSchemeText(candidate) ? candidate.toString().toLower() : QString();
}

// Only plain ASCII digits: a sign, spaces or a trailing word make a link malformed rather than
// silently turning into some other number.
std::optional<int> parseNumber(QStringView text, int maximum) {
    if (text.isEmpty() || text.size() > 10) return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > maximum) return std::nullopt;
    return static_cast<int>(value);
}

QString decodeComponent(const QString& encoded) { return QUrl::fromPercentEncoding(encoded.toUtf8()); }

LaunchLink refuse(LaunchLink link, const QString& reason) {
    link.kind = LaunchKind::Invalid;
    link.launchMode = 2;
    link.session = SessionParameters{};
    link.error = reason;
    link.logLines << QStringLiteral("Error: ") + reason;
    return link;
}

LaunchLink parseJoin(const QString& text, LaunchLink link) {
    constexpr int MaxPort = 65535;
    const QUrl url(text, QUrl::TolerantMode);
    // QUrl's own error strings quote the whole link, password included, so they are never logged.
    if (!url.isValid()) return refuse(link, QStringLiteral("the session link is malformed (server or port)"));
    const QString host = url.host(QUrl::FullyEncoded);
    if (host.isEmpty()) return refuse(link, QStringLiteral("the session link names no server"));

    // Split before decoding, so that an encoded "/" inside a user name or password stays part of it.
    const QStringList parts = url.path(QUrl::FullyEncoded).split(u'/');
    if (parts.size() < 4) return refuse(link, QStringLiteral("the session link names no room"));
    const std::optional<int> room = parseNumber(decodeComponent(parts[3]), std::numeric_limits<int>::max());
    if (!room) return refuse(link, QStringLiteral("the room of the session link is not a number"));

    SessionParameters& s = link.session;
    s.Host = host;
    s.Port1 = url.port(0);
    s.Port2 = SessionParameters::DefaultPort2;
    s.Port3 = SessionParameters::DefaultPort3;
    s.UserName = decodeComponent(parts[1]);
    s.Password = decodeComponent(parts[2]);
    s.RoomID = *room;
    s.resetToken();
    // An empty trailing component (a link ending in "/") means the value is absent, not empty: an
    // empty token would be refused by the server and end the session.
    if (parts.size() >= 5 && !parts[4].isEmpty()) s.Token = decodeComponent(parts[4]);
    if (parts.size() > 5 && !parts[5].isEmpty()) {
        const std::optional<int> port = parseNumber(decodeComponent(parts[5]), MaxPort);
        if (!port) return refuse(link, QStringLiteral("the second port of the session link is not a port number"));
        s.Port2 = *port;
    }
    if (parts.size() >= 7 && !parts[6].isEmpty()) {
        const std::optional<int> port = parseNumber(decodeComponent(parts[6]), MaxPort);
        if (!port) return refuse(link, QStringLiteral("the third port of the session link is not a port number"));
        s.Port3 = *port;
    }
    link.kind = LaunchKind::Join;
    link.launchMode = 0;
    return link;
}

LaunchLink parsePlayback(const QString& text, const QString& scheme, LaunchLink link) {
    QString address = text;
    if (scheme == QLatin1String(HttpsPlaybackScheme))
        address.replace(QStringLiteral("vc8https:"), QStringLiteral("https:"), Qt::CaseInsensitive);
    else
        address.replace(QStringLiteral("vc8http:"), QStringLiteral("http:"), Qt::CaseInsensitive);
    link.logLines << QStringLiteral("url: ") + maskLaunchLinkForLog(address);
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty())
        return refuse(link, QStringLiteral("the recording link is malformed"));
    link.session.PlaybackURL = url;
    link.kind = LaunchKind::Playback;
    link.launchMode = 1;
    return link;
}

LaunchLink recordingFile(const QString& path) {
    LaunchLink link;
    link.kind = LaunchKind::RecordingFile;
    link.launchMode = 3;
    link.recordingPath = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    return link;
}

}  // namespace

void LaunchLink::applyTo(SessionParameters& target) const {
    switch (kind) {
    case LaunchKind::Join: {
        const int connectedPort = target.ConnectedPort;
        const QUrl playbackUrl = target.PlaybackURL;
        target = session;
        target.ConnectedPort = connectedPort;
        target.PlaybackURL = playbackUrl;
        break;
    }
    case LaunchKind::Playback:
        target.PlaybackURL = session.PlaybackURL;
        break;
    case LaunchKind::Ignored:
    case LaunchKind::RecordingFile:
    case LaunchKind::Invalid:
        break;
    }
}

LaunchLink parseLaunchLink(const QString& argument) {
    const QString text = argument.trimmed();
    if (text.isEmpty()) return {};
    const QString scheme = schemeOf(text);
    if (scheme.isEmpty()) return recordingFile(text);
    if (scheme == QLatin1String("file")) {
        const QString path = QUrl(text).toLocalFile();
        return path.isEmpty() ? LaunchLink{} : recordingFile(path);
    }

    LaunchLink link;
    link.logLines << QStringLiteral("url = ") + maskLaunchLinkForLog(text);
    if (scheme == QLatin1String(JoinScheme)) return parseJoin(text, link);
    if (scheme == QLatin1String(HttpPlaybackScheme) || scheme == QLatin1String(HttpsPlaybackScheme))
        return parsePlayback(text, scheme, link);
    return link;
}

QString invalidUrlMessage() {
    return QStringLiteral(
               "The URL for your session is either invalid or contains invalid characters. \n\nPlease contact "
               "Veltrin Support for help at ") +
           QLatin1String(branding::SupportEmail);
}

QString maskLaunchLinkForLog(const QString& link) {
    const qsizetype separator = link.indexOf(QStringLiteral("://"));
    if (separator < 0) return link;
    const qsizetype authorityStart = separator + 3;
    const qsizetype pathStart = link.indexOf(u'/', authorityStart);
    QString authority = link.mid(authorityStart, pathStart < 0 ? -1 : pathStart - authorityStart);
    const qsizetype at = authority.lastIndexOf(u'@');
    const qsizetype colon = authority.indexOf(u':');
    if (at >= 0 && colon >= 0 && colon < at)
        authority = authority.left(colon + 1) + QLatin1String(PasswordMask) + authority.mid(at);

    QString masked = link.left(authorityStart) + authority;
    if (pathStart < 0) return masked;
    QString path = link.mid(pathStart);
    if (schemeOf(link) == QLatin1String(JoinScheme)) {
        QStringList parts = path.split(u'/');
        if (parts.size() > 2 && !parts[2].isEmpty()) parts[2] = QLatin1String(PasswordMask);
        path = parts.join(u'/');
    }
    return masked + path;
}

}  // namespace veltrin
