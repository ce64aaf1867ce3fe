#include "wire/PaintObjectHeader.h"

#include "wire/VCTools.h"

namespace veltrin {

void TPaintObjectHeader::writeToMD(Bytes& md) const {
    VCTools::writeIntMD(md, UserId);
    VCTools::writeIntMD(md, UpdateType);
    VCTools::writeIntMD(md, BoardIndex);
    VCTools::writeIntMD(md, LocalIndex);
    VCTools::writeBooleanMD(md, isImage);
    VCTools::writeIntMD(md, ObjectSize);
}

void TPaintObjectHeader::readFromStream(InputStream& is) {
    UserId = VCTools::readInt(is);
    UpdateType = VCTools::readInt(is);
    BoardIndex = VCTools::readInt(is);
    LocalIndex = VCTools::readInt(is);
    isImage = VCTools::readBoolean(is);
    ObjectSize = VCTools::readInt(is);
}

bool TPaintObjectHeader::writeToStream(OutputStream& os) const {
    Bytes md;
    writeToMD(md);
    return VCTools::writeToStream(os, md.data(), md.size());
}

}  // namespace veltrin
