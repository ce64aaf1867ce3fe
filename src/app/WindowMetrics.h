#pragma once

// The widget-dependent members of VeltrinTools (the rest is in app/core/VeltrinTools.h).
namespace veltrin::VeltrinTools {

// Height of a standard window title bar: frame height minus content height of a titled 100 x 100
// window. Without a window manager that decorates windows (offscreen, bare X servers) the style's
// title bar metric stands in. Measured once; needs a QApplication.
int titleBarHeight();

}  // namespace veltrin::VeltrinTools
