#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

#include "platform/TcpStreamPair.h"

namespace veltrin {

class DefaultFlags;
class UserInterface;

// Small operations several parts of the client share. Widget-dependent ones (titleBarHeight) live
// in app/WindowMetrics.h so that this library stays free of Qt Widgets.
namespace VeltrinTools {

// Message boxes, through the user interface so that callers stay testable.
void ShowSimpleMessage(UserInterface& ui, const QString& message, const QString& title, const QString& button);
// Critical style; the button is always "Close" (the argument is accepted for symmetry and ignored).
void ShowErrorMessage(UserInterface& ui, const QString& message, const QString& title, const QString& button);
// Save panel restricted to the given extensions; nothing when cancelled.
std::optional<QString> selectFileToSaveOfType(UserInterface& ui, const QStringList& fileTypes);

// The SOCKS configuration of a proxy type of the settings: 1 is SOCKS 4, 2 is SOCKS 5, anything
// else is a direct connection (version 0).
SocksProxy makeSocksProxy(int proxyType, const QString& host, int port, const QString& user,
                          const QString& password);
// Sets the proxy of a stream pair before it is opened; proxy types other than 1 and 2 leave the
// pair alone.
void ConfigureStreamsForProxy(TcpStreamPair& streams, int proxyType, const QString& host, int port,
                              const QString& user, const QString& password);
void ConfigureStreamsForProxy(TcpStreamPair& streams, const DefaultFlags& settings);

// The text shown for a failed connection's result code, ending in its support code.
QString TranslateErrorCode(int code);
// Label of a predefined poll answer (0..25); empty for any other id.
QString AnswerStringById(int id);

// Poll choice sets: bit i of the number is character 25 - i of a 26-character string.
QString binaryStringWithInteger(int value);
int binaryStringToInt(const QString& bits);

// Remote control key codes: local virtual key codes (0..126) to Windows virtual-key codes and back.
// 0 stands both for the letter A and for "no such key".
int MACKeyToWin(int localKey);
int WinKeyToMac(int windowsKey);

std::uint16_t makeWordFromByteL(std::uint8_t low, std::uint8_t high);
std::uint32_t makeIntFromWordL(std::uint16_t low, std::uint16_t high);

// The client's folder for temporary files ("veltrin" in the system's temporary folder, or that
// folder itself when ours cannot be made).
QString getVeltrinTempDir();
// A new, empty, uniquely named file "file-XXXXXX.<extension>" in that folder ("tm8" when the
// extension is empty); nothing (and a log line) when it cannot be created.
std::optional<QString> tmpFile(const QString& extension);
// The same for "file-XXXXXX.caf".
std::optional<QString> tmpFile();

// A version date "Mon-DD-YYYY" as comparable text "YYYYMMDD"; "00000000" for shorter texts.
QString ConvertVersionDateToString(const QString& versionDate);

}  // namespace VeltrinTools
}  // namespace veltrin
