#include "app/core/VeltrinTools.h"

#include <array>

#include "app/core/DefaultFlags.h"
#include "app/core/UserInterface.h"
#include "wire/Handshake.h"

namespace veltrin::VeltrinTools {

void ShowSimpleMessage(UserInterface& ui, const QString& message, const QString& title, const QString& button) {
    ui.showMessage(title, message, {button}, MessageStyle::Informational);
}

void ShowErrorMessage(UserInterface& ui, const QString& message, const QString& title, const QString&) {
    ui.showMessage(title, message, {QStringLiteral("Close")}, MessageStyle::Critical);
}

std::optional<QString> selectFileToSaveOfType(UserInterface& ui, const QStringList& fileTypes) {
    return ui.selectFileToSave(fileTypes);
}

SocksProxy makeSocksProxy(int proxyType, const QString& host, int port, const QString& user,
                          const QString& password) {
    SocksProxy proxy;
    if (proxyType != 1 && proxyType != 2) return proxy;
    proxy.version = proxyType == 1 ? 4 : 5;
    proxy.host = host.toStdString();
    proxy.port = port;
    proxy.user = user.toStdString();
    proxy.password = password.toStdString();
    return proxy;
}

void ConfigureStreamsForProxy(TcpStreamPair& streams, int proxyType, const QString& host, int port,
                              const QString& user, const QString& password) {
    const SocksProxy proxy = makeSocksProxy(proxyType, host, port, user, password);
    if (proxy.enabled()) streams.setProxy(proxy);
}

void ConfigureStreamsForProxy(TcpStreamPair& streams, const DefaultFlags& settings) {
    ConfigureStreamsForProxy(streams, settings.defProxyType(), settings.defProxyAddress(), settings.defProxyPort(),
                             settings.defProxyUsername(), settings.defProxyPassword());
}

QString TranslateErrorCode(int code) {
    QString message;
    switch (code) {
    case 1:
    case 2:
        message = QStringLiteral(
            "Your username and password are invalid. Please try again and make sure to specify correct login "
            "details.");
        break;
    case 13:
    case 300:
        message = QStringLiteral(
            "Unable to connect to the session server. Please make sure you are connected to the internet and "
            "there is no Proxy or Firewall blocking your connection.\n\nIf you are connecting from behind a "
            "Proxy server please configure Veltrin to use your Proxy. To do so click File -> Settings -> "
            "Connection and choose your configuration. Then try again.");
        break;
    case 21:
        message = QStringLiteral(
            "You are using an outdated version of the virtual classroom. Please close this session and update "
            "your classroom application.");
        break;
    default:
        message = QStringLiteral(
            "The connection to the live session has failed. Please check your Internet connection and try "
            "again.");
        break;
    }
    return message + QStringLiteral(" \n\n(Support Code: ") + QString::number(code) + u')';
}

QString AnswerStringById(int id) {
    static constexpr std::array<const char*, 26> Labels{
        "Yes", "No", "True", "False", "Not Sure", "Maybe", "1",    "2",   "3",       "4",    "5", "6", "7",
        "8",   "9",  "10",   "A",     "B",        "C",     "D",    "E",   "F",       "Good", "Bad", "Correct", "Wrong"};
    if (id < 0 || id >= static_cast<int>(Labels.size())) return {};
    return QLatin1String(Labels[static_cast<std::size_t>(id)]);
}

QString binaryStringWithInteger(int value) {
    constexpr qsizetype Width = 26;
    // Negative values are taken as their 32-bit pattern rather than shifted forever.
    auto bits = static_cast<std::uint32_t>(value);
    QString text;
    while (bits != 0) {
        text.prepend(bits & 1u ? u'1' : u'0');
        bits >>= 1;
    }
    if (text.size() < Width) text = QString(Width - text.size(), u'0') + text;
    return text;
}

int binaryStringToInt(const QString& bits) {
    // Unsigned arithmetic: strings longer than 32 characters wrap instead of overflowing.
    std::uint32_t value = 0;
    for (const QChar c : bits) value = (value << 1) | (c == u'1' ? 1u : 0u);
    return static_cast<int>(value);
}

std::uint16_t makeWordFromByteL(std::uint8_t low, std::uint8_t high) {
    return static_cast<std::uint16_t>(low + 256u * high);
}

std::uint32_t makeIntFromWordL(std::uint16_t low, std::uint16_t high) { return low + 65536u * high; }

QString ConvertVersionDateToString(const QString& versionDate) {
    return QString::fromStdString(veltrin::ConvertVersionDateToString(versionDate.toStdString()));
}

}  // namespace veltrin::VeltrinTools
