#pragma once

#include <QString>

namespace veltrin {

// The folders of the generated resource files (see resources/CMakeLists.txt).
namespace ResourceFolder {
inline constexpr char Icons[] = "icons";
inline constexpr char Sounds[] = "sounds";
inline constexpr char Cursors[] = "cursors";
inline constexpr char ClipArt[] = "clipart";
inline constexpr char Templates[] = "templates";
inline constexpr char Audio[] = "audio";
}  // namespace ResourceFolder

// The root of the resource files: $VELTRIN_RESOURCES when set, else the installed
// <prefix>/share/veltrin/resources next to the program, else the build tree's folder.
QString resourceRoot();

// The full path of <folder>/<name> under the resource root, or an empty string when there is no
// such file. Names are the fixed ones of the client; anything with a path separator or ".."
// answers empty, so a name that came from elsewhere can never leave the folder.
QString resourcePath(const char* folder, const QString& name);

}  // namespace veltrin
