#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <deque>

#include "wire/TextMessage.h"

namespace veltrin {

// "yyyy/MM/dd hh:mm" on a 12-hour clock (01 to 12) without an AM/PM marker, as the export headers
// have always read.
QString textLogTimeStamp(const QDateTime& time);

// The export file of both logs: UTF-8 without a byte-order mark, chat log first, each entry as its
// name, " (private)" when it went to one user, ":\n", the text and "\n".
QByteArray formatTextMessageLog(const std::deque<TTextMessage>& chatLog, const std::deque<TTextMessage>& notesLog,
                                const QDateTime& exportedAt);

// Replaces whatever is at `path` with `content`. The old file stays in place until the new one is
// complete, so a failed export never costs the user an earlier file. Answers whether it worked.
bool writeTextMessageLog(const QString& path, const QByteArray& content);

}  // namespace veltrin
