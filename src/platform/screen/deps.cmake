# Screen capture talks to the X server directly.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VELTRIN_X11 REQUIRED IMPORTED_TARGET x11)
target_link_libraries(veltrin_platform PUBLIC Qt6::Gui PRIVATE PkgConfig::VELTRIN_X11)
