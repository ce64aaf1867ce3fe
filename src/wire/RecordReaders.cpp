// The record readers and writers VCTools offers by name.
#include "VCTools.h"

namespace veltrin {

namespace {

template <class Record>
Record readNew(InputStream& is) {
    Record r;
    r.readFromStream(is);
    return r;
}

}  // namespace

TClientRecord VCTools::readClientRec(InputStream& is) {
    return readNew<TClientRecord>(is);
}

TRoomHeader VCTools::readRoomHeader(InputStream& is) {
    return readNew<TRoomHeader>(is);
}

TUserItem VCTools::readUserItem(InputStream& is) {
    return readNew<TUserItem>(is);
}

TClientStatusPack VCTools::readStatusPack(InputStream& is) {
    return readNew<TClientStatusPack>(is);
}

TTextMessage VCTools::readTextMessage(InputStream& is) {
    return readNew<TTextMessage>(is);
}

void VCTools::writeTTextMessageMD(Bytes& md, const TTextMessage& message) {
    message.writeToMD(md);
}

bool VCTools::writeTSimpleLogIn(OutputStream& os, const TSimpleLogin& login) {
    return login.writeToStream(os);
}

}  // namespace veltrin
