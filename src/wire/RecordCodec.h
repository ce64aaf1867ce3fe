#pragma once

// Internal to the record implementations. Each record lists its fields once, in wire order, in a
// function template `fields(record, visitor)`; these visitors make that list a reader, a writer
// or a size count, so the three can never disagree.

#include <algorithm>
#include <string>

#include "wire/VCTools.h"

namespace veltrin::codec {

class Reader {
public:
    explicit Reader(InputStream& is) : is_(is) {}
    template <class T>
    void byte(T& v) {
        v = static_cast<T>(VCTools::readByte(is_));
    }
    void boolean(bool& v) { v = VCTools::readBoolean(is_); }
    template <class T>
    void word(T& v) {
        v = static_cast<T>(VCTools::readWord(is_));
    }
    template <class T>
    void int32(T& v) {
        v = static_cast<T>(VCTools::readInt(is_));
    }
    void date(double& v) { v = VCTools::readDayDate(is_); }
    void date(CalendarDate& v) { v = VCTools::DoubleToNSDate(VCTools::readDayDate(is_)); }
    void fixed(std::string& v, int size) { v = VCTools::readFixedString(is_, size); }
    void intString(std::string& v) { v = VCTools::readStringIntSize(is_); }

private:
    InputStream& is_;
};

class Writer {
public:
    explicit Writer(Bytes& md) : md_(md) {}
    template <class T>
    void byte(const T& v) {
        VCTools::writeByteMD(md_, static_cast<std::uint8_t>(v));
    }
    void boolean(const bool& v) { VCTools::writeBooleanMD(md_, v); }
    template <class T>
    void word(const T& v) {
        VCTools::writeWordMD(md_, static_cast<std::uint16_t>(v));
    }
    template <class T>
    void int32(const T& v) {
        VCTools::writeIntMD(md_, static_cast<std::int32_t>(v));
    }
    void date(const double& v) { VCTools::writeDayDateMD(md_, v); }
    void date(const CalendarDate& v) { VCTools::writeDayDateMD(md_, VCTools::convertToDouble(v)); }
    void fixed(const std::string& v, int size) { VCTools::writeFixedStringMD(md_, v, size); }
    void intString(const std::string& v) { VCTools::writeStringIntSizeMD(md_, v); }

private:
    Bytes& md_;
};

// Wire size of a record as written.
class Sizer {
public:
    template <class T>
    void byte(const T&) {
        size += 1;
    }
    void boolean(const bool&) { size += 1; }
    template <class T>
    void word(const T&) {
        size += 2;
    }
    template <class T>
    void int32(const T&) {
        size += 4;
    }
    template <class T>
    void date(const T&) {
        size += 8;
    }
    void fixed(const std::string&, int s) { size += 1 + static_cast<std::size_t>(std::clamp(s, 0, 255)); }
    void intString(const std::string& v) { size += 4 + v.size(); }

    std::size_t size = 0;
};

// Record operations built on a record's field list.
template <class Record, class Fields>
void readRecord(Record& r, InputStream& is, Fields fields) {
    Reader v(is);
    fields(r, v);
}

template <class Record, class Fields>
void writeRecordMD(const Record& r, Bytes& md, Fields fields, std::size_t sizeHint) {
    md.reserve(md.size() + sizeHint);
    Writer v(md);
    fields(r, v);
}

template <class Record, class Fields>
bool writeRecord(const Record& r, OutputStream& os, Fields fields, std::size_t sizeHint) {
    Bytes md;
    writeRecordMD(r, md, fields, sizeHint);
    return VCTools::writeToStream(os, md.data(), md.size());
}

}  // namespace veltrin::codec
