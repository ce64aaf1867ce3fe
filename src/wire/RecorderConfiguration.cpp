#include "wire/RecorderConfiguration.h"

#include "wire/VCTools.h"

namespace veltrin {
namespace {

// Field list in wire order, shared by the reader and the writer.
template <class Config, class Fn>
void forEachOption(Config& c, Fn fn) {
    for (auto* option : {&c.Option1, &c.Option2, &c.Option3, &c.Option4, &c.Option5, &c.Option6, &c.Option7,
                         &c.Option8, &c.Option9, &c.Option10})
        fn(*option);
}

}  // namespace

void TRecorderConfiguration::writeToMD(Bytes& md) const {
    md.reserve(md.size() + kSize);
    VCTools::writeFixedStringMD(md, RecorderName, kRecorderNameSize);
    VCTools::writeBooleanMD(md, Visible);
    VCTools::writeIntMD(md, RecordVideoFromUserId);
    forEachOption(*this, [&](std::int32_t option) { VCTools::writeIntMD(md, option); });
}

void TRecorderConfiguration::readFromStream(InputStream& is) {
    RecorderName = VCTools::readFixedString(is, kRecorderNameSize);
    Visible = VCTools::readBoolean(is);
    RecordVideoFromUserId = VCTools::readInt(is);
    forEachOption(*this, [&](std::int32_t& option) { option = VCTools::readInt(is); });
}

bool TRecorderConfiguration::writeToStream(OutputStream& os) const {
    Bytes md;
    writeToMD(md);
    return VCTools::writeToStream(os, md.data(), md.size());
}

}  // namespace veltrin
