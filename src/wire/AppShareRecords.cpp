#include "wire/AppShareRecords.h"

#include "wire/VCTools.h"

namespace veltrin {

void TAppShareStruct::writeToMD(Bytes& md) const {
    md.reserve(md.size() + kSize);
    VCTools::writeIntMD(md, ShareType);
    VCTools::writeIntMD(md, ShareUserId);
    VCTools::writeByteMD(md, PixFrmt);
    VCTools::writeIntMD(md, SourceX);
    VCTools::writeIntMD(md, SourceY);
    VCTools::writeIntMD(md, SourceWidth);
    VCTools::writeIntMD(md, SourceHeight);
    VCTools::writeIntMD(md, TargetWidth);
    VCTools::writeIntMD(md, TargetHeight);
    VCTools::writeDoubleMD(md, ScaleFactorX);
    VCTools::writeDoubleMD(md, ScaleFactorY);
    VCTools::writeIntMD(md, CompressionLevel);
    VCTools::writeIntMD(md, PiecesPerLine);
    VCTools::writeBooleanMD(md, CaptureCursor);
    VCTools::writeIntMD(md, FrameInterval);
    VCTools::writeFixedStringMD(md, ShareUserName, kShareUserNameSize);
    VCTools::writeFixedStringMD(md, ShareTitle, kShareTitleSize);
}

void TAppShareStruct::readFromStream(InputStream& is) {
    ShareType = VCTools::readInt(is);
    ShareUserId = VCTools::readInt(is);
    PixFrmt = VCTools::readByte(is);
    SourceX = VCTools::readInt(is);
    SourceY = VCTools::readInt(is);
    SourceWidth = VCTools::readInt(is);
    SourceHeight = VCTools::readInt(is);
    TargetWidth = VCTools::readInt(is);
    TargetHeight = VCTools::readInt(is);
    ScaleFactorX = VCTools::readDouble(is);
    ScaleFactorY = VCTools::readDouble(is);
    CompressionLevel = VCTools::readInt(is);
    PiecesPerLine = VCTools::readInt(is);
    CaptureCursor = VCTools::readBoolean(is);
    FrameInterval = VCTools::readInt(is);
    ShareUserName = VCTools::readFixedString(is, kShareUserNameSize);
    ShareTitle = VCTools::readFixedString(is, kShareTitleSize);
}

bool TAppShareStruct::writeToStream(OutputStream& os) const {
    Bytes md;
    writeToMD(md);
    return VCTools::writeToStream(os, md.data(), md.size());
}

void TAppShareFrame::writeToMD(Bytes& md) const {
    VCTools::writeIntMD(md, FrameNo);
    VCTools::writeBooleanMD(md, KeyFrame);
    VCTools::writeBooleanMD(md, XorFrame);
    VCTools::writeIntMD(md, FrameSize);
    VCTools::writeIntMD(md, MsecsOffset);
}

void TAppShareFrame::readFromStream(InputStream& is) {
    FrameNo = VCTools::readInt(is);
    KeyFrame = VCTools::readBoolean(is);
    XorFrame = VCTools::readBoolean(is);
    FrameSize = VCTools::readInt(is);
    MsecsOffset = VCTools::readInt(is);
}

bool TAppShareFrame::writeToStream(OutputStream& os) const {
    Bytes md;
    writeToMD(md);
    return VCTools::writeToStream(os, md.data(), md.size());
}

void TAppShareControlPacket::writeToMD(Bytes& md) const {
    VCTools::writeByteMD(md, EventType);
    VCTools::writeIntMD(md, Param1);
    VCTools::writeIntMD(md, Param2);
    VCTools::writeIntMD(md, Param3);
    VCTools::writeIntMD(md, Param4);
    VCTools::writeIntMD(md, Param5);
    VCTools::writeByteMD(md, Param6);
    VCTools::writeByteMD(md, Param7);
}

void TAppShareControlPacket::readFromStream(InputStream& is) {
    EventType = VCTools::readByte(is);
    Param1 = VCTools::readInt(is);
    Param2 = VCTools::readInt(is);
    Param3 = VCTools::readInt(is);
    Param4 = VCTools::readInt(is);
    Param5 = VCTools::readInt(is);
    Param6 = VCTools::readByte(is);
    Param7 = VCTools::readByte(is);
}

bool TAppShareControlPacket::writeToStream(OutputStream& os) const {
    Bytes md;
    writeToMD(md);
    return VCTools::writeToStream(os, md.data(), md.size());
}

}  // namespace veltrin
