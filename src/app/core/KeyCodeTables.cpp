#include <array>
#include <utility>

#include "app/core/VeltrinTools.h"

namespace veltrin::VeltrinTools {
namespace {

// Local virtual key code : Windows virtual-key code. Remote control sends Windows codes on the wire,
// so both directions must stay inverse to each other (checked by the tests).
constexpr std::array<std::pair<int, int>, 92> LocalToWindows{{
    {0, 65},    {1, 83},    {2, 68},    {3, 70},    {4, 72},    {5, 71},    {6, 90},    {7, 88},
    {8, 67},    {9, 86},    {11, 66},   {12, 81},   {13, 87},   {14, 69},   {15, 82},   {16, 89},
    {17, 84},   {18, 49},   {19, 50},   {20, 51},   {21, 52},   {22, 54},   {23, 53},   {24, 187},
    {25, 57},   {26, 55},   {27, 189},  {28, 56},   {29, 48},   {30, 221},  {31, 79},   {32, 85},
    {33, 219},  {34, 73},   {35, 80},   {36, 13},   {37, 76},   {38, 74},   {39, 222},  {40, 75},
    {41, 186},  {42, 220},  {43, 188},  {44, 191},  {45, 78},   {46, 77},   {47, 190},  {48, 9},
    {49, 32},   {50, 192},  {51, 8},    {53, 27},   {56, 16},   {57, 20},   {59, 17},   {65, 110},
    {67, 106},  {69, 107},  {75, 111},  {78, 109},  {82, 96},   {83, 97},   {84, 98},   {85, 99},
    {86, 100},  {87, 101},  {88, 102},  {89, 103},  {91, 104},  {92, 105},  {96, 116},  {97, 117},
    {98, 118},  {99, 114},  {100, 119}, {101, 120}, {103, 122}, {109, 121}, {111, 123}, {114, 47},
    {115, 36},  {116, 33},  {117, 46},  {118, 115}, {119, 35},  {120, 113}, {121, 34},  {122, 112},
    {123, 37},  {124, 39},  {125, 40},  {126, 38},
}};

constexpr int LastLocal = 126;
constexpr int FirstWindows = 8;
constexpr int LastWindows = 226;
// The OEM 102 key ("<>" on ISO keyboards) types what the backslash key types here.
constexpr int Oem102 = 226;
constexpr int BackslashLocal = 42;

constexpr std::array<int, LastLocal + 1> localToWindowsTable() {
    std::array<int, LastLocal + 1> table{};
    for (const auto& [local, windows] : LocalToWindows) table[static_cast<std::size_t>(local)] = windows;
    return table;
}

constexpr std::array<int, LastWindows + 1> windowsToLocalTable() {
    std::array<int, LastWindows + 1> table{};
    for (const auto& [local, windows] : LocalToWindows) table[static_cast<std::size_t>(windows)] = local;
    table[Oem102] = BackslashLocal;
    return table;
}

constexpr auto LocalToWindowsTable = localToWindowsTable();
constexpr auto WindowsToLocalTable = windowsToLocalTable();

}  // namespace

int MACKeyToWin(int localKey) {
    if (localKey < 0 || localKey > LastLocal) return 0;
    return LocalToWindowsTable[static_cast<std::size_t>(localKey)];
}

int WinKeyToMac(int windowsKey) {
    if (windowsKey < FirstWindows || windowsKey > LastWindows) return 0;
    return WindowsToLocalTable[static_cast<std::size_t>(windowsKey)];
}

}  // namespace veltrin::VeltrinTools
