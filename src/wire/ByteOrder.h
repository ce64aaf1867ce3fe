#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Little-endian loads and stores for the wire codecs. memcpy keeps them free of alignment and
// aliasing trouble; on little-endian hosts each one compiles to a single move.
namespace veltrin::byteorder {

template <class T>
inline T swapIfBig(T v) {
    if constexpr (std::endian::native == std::endian::big) {
        if constexpr (sizeof(T) == 2) return static_cast<T>(__builtin_bswap16(v));
        if constexpr (sizeof(T) == 4) return static_cast<T>(__builtin_bswap32(v));
        if constexpr (sizeof(T) == 8) return static_cast<T>(__builtin_bswap64(v));
    }
    return v;
}

inline std::uint16_t loadLE16(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return swapIfBig(v);
}
inline std::uint32_t loadLE32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return swapIfBig(v);
}
inline std::uint64_t loadLE64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return swapIfBig(v);
}
inline double loadLEDouble(const std::uint8_t* p) {
    return std::bit_cast<double>(loadLE64(p));
}

inline void storeLE16(std::uint8_t* p, std::uint16_t v) {
    v = swapIfBig(v);
    std::memcpy(p, &v, sizeof v);
}
inline void storeLE32(std::uint8_t* p, std::uint32_t v) {
    v = swapIfBig(v);
    std::memcpy(p, &v, sizeof v);
}
inline void storeLE64(std::uint8_t* p, std::uint64_t v) {
    v = swapIfBig(v);
    std::memcpy(p, &v, sizeof v);
}
inline void storeLEDouble(std::uint8_t* p, double v) {
    storeLE64(p, std::bit_cast<std::uint64_t>(v));
}

}  // namespace veltrin::byteorder
