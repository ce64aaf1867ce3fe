#include "ClientSystemRecord.h"

#include <sys/utsname.h>

#include "RecordCodec.h"

namespace veltrin {

namespace {

constexpr auto fields = [](auto& r, auto& v) {
    v.intString(r.DeviceModel);
    v.intString(r.OSName);
    v.intString(r.OSVersion);
    v.int32(r.HRes);
    v.int32(r.VRes);
    v.int32(r.DPI);
    v.int32(r.Proxy);
};

}  // namespace

TClientSystemRecord::TClientSystemRecord() : OSName(secondWord(operatingSystemVersionText())) {}

std::string TClientSystemRecord::operatingSystemVersionText() {
    utsname u{};
    if (uname(&u) != 0) return {};
    return std::string(u.sysname) + ' ' + u.release + ' ' + u.version;
}

std::string TClientSystemRecord::secondWord(std::string_view text) {
    int word = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i == text.size()) break;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (++word == 2) return std::string(text.substr(start, i - start));
    }
    return {};
}

int TClientSystemRecord::getSize() const {
    codec::Sizer s;
    fields(*this, s);
    return static_cast<int>(s.size);
}

void TClientSystemRecord::readFromStream(InputStream& is) {
    codec::readRecord(*this, is, fields);
}

bool TClientSystemRecord::writeToStream(OutputStream& os) const {
    return codec::writeRecord(*this, os, fields, static_cast<std::size_t>(getSize()));
}

void TClientSystemRecord::writeToMD(Bytes& md) const {
    codec::writeRecordMD(*this, md, fields, static_cast<std::size_t>(getSize()));
}

}  // namespace veltrin
