#pragma once

#include <QString>
#include <QUrl>

namespace veltrin {

// Where and as whom the session connects. The application delegate owns the one instance and hands
// it by reference to the classroom it opens; the connection threads read it while the main thread
// leaves it alone (it is written only between sessions, on the main thread).
struct SessionParameters {
    // The token the server expects when a link carries none. An entry token admits one entry only,
    // so Reconnect falls back to this value.
    static constexpr char NoToken[] = "5a1c9e37-b2d4-4f86-a3e1-7c9d2b6f8e42";
    static constexpr int DefaultPort2 = 3301;
    static constexpr int DefaultPort3 = 443;

    QString Host;
    int Port1 = 0;
    int Port2 = DefaultPort2;
    int Port3 = DefaultPort3;
    QString UserName;
    QString Password;
    int RoomID = 0;
    QString Token = QString::fromLatin1(NoToken);
    int ConnectedPort = 0;  // the port the main connection got through on; media channels reuse it
    QUrl PlaybackURL;

    bool hasEntryToken() const { return Token != QLatin1String(NoToken); }
    void resetToken() { Token = QString::fromLatin1(NoToken); }

    bool operator==(const SessionParameters&) const = default;
};

}  // namespace veltrin
