#include "classroom/chat/TextChatExport.h"

#include <QSaveFile>

namespace veltrin {

namespace {

void appendEntries(QByteArray& out, const std::deque<TTextMessage>& log) {
    for (const TTextMessage& m : log) {
        out.append(m.NameToUse.data(), static_cast<qsizetype>(m.NameToUse.size()));
        if (m.ToUID != 0) out.append(" (private)");
        out.append(":\n");
        out.append(m.Text.data(), static_cast<qsizetype>(m.Text.size()));
        out.append('\n');
    }
}

}  // namespace

QString textLogTimeStamp(const QDateTime& time) {
    const int hour = time.time().hour() % 12;
    return time.toString(QStringLiteral("yyyy/MM/dd ")) + QStringLiteral("%1").arg(hour == 0 ? 12 : hour, 2, 10, QLatin1Char('0')) +
           time.toString(QStringLiteral(":mm"));
}

QByteArray formatTextMessageLog(const std::deque<TTextMessage>& chatLog, const std::deque<TTextMessage>& notesLog,
                                const QDateTime& exportedAt) {
    const QByteArray stamp = textLogTimeStamp(exportedAt).toUtf8();
    QByteArray out;
    out.append("Veltrin Text Message Log \nExported ").append(stamp).append("\n\n");
    appendEntries(out, chatLog);
    out.append("\n\n").append(QByteArray(46, '=')).append("\n");
    out.append("Veltrin Session Notes Log \nExported ").append(stamp).append("\n\n");
    appendEntries(out, notesLog);
    return out;
}

bool writeTextMessageLog(const QString& path, const QByteArray& content) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace veltrin
