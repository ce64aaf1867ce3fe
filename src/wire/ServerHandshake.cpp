#include "ServerHandshake.h"

#include "Handshake.h"
#include "VCTools.h"

namespace veltrin {

std::optional<VersionIdentity> readVersionExchange(InputStream& is) {
    VersionIdentity id;
    id.Version = VCTools::readFixedString(is, kVersionFieldSize);
    id.Date = VCTools::readFixedString(is, kVersionDateFieldSize);
    if (!VCTools::checkIS(is)) return std::nullopt;
    return id;
}

bool writeVersionAnswer(OutputStream& os, std::uint16_t result, const VersionIdentity* server,
                        std::uint16_t commandId) {
    Bytes md;
    TCommand frame(commandId, 0, 0, server ? static_cast<std::uint32_t>(kVersionExchangeSize) : 0);
    frame.Result = result;
    VCTools::writeCommandMD(md, frame);
    if (server) {
        VCTools::writeFixedStringMD(md, server->Version, kVersionFieldSize);
        VCTools::writeFixedStringMD(md, server->Date, kVersionDateFieldSize);
    }
    return VCTools::writeToStream(os, md.data(), md.size());
}

std::optional<std::int32_t> readChannelSelector(InputStream& is) {
    const std::int32_t selector = VCTools::readBEInt(is);
    if (!VCTools::checkIS(is)) return std::nullopt;
    return selector;
}

std::optional<TSimpleLogin> readSimpleLogIn(InputStream& is) {
    TSimpleLogin login;
    login.readFromStream(is);
    if (!VCTools::checkIS(is)) return std::nullopt;
    return login;
}

bool writeLogOnAnswer(OutputStream& os, std::uint16_t result, const TClientRecord* record,
                      std::uint16_t commandId) {
    const bool withRecord = result == 0 && record != nullptr;
    Bytes md;
    TCommand frame(commandId, withRecord ? static_cast<std::uint32_t>(record->UID) : 0, 0,
                   withRecord ? static_cast<std::uint32_t>(TClientRecord::kSize) : 0);
    frame.Result = result;
    VCTools::writeCommandMD(md, frame);
    if (withRecord) record->writeToMD(md);
    return VCTools::writeToStream(os, md.data(), md.size());
}

}  // namespace veltrin
