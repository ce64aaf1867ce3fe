#pragma once

namespace veltrin::wb {

// A whiteboard colour, components 0.0-1.0. Kept as doubles rather than as a toolkit colour because
// the wire takes trunc(component x 255): a colour read as byte / 255 must give the same byte back,
// which doubles do for every byte and 16-bit toolkit channels do not.
struct PaintColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static constexpr PaintColor rgb(double r, double g, double b) { return {r, g, b, 1}; }
    static constexpr PaintColor blackColor() { return rgb(0, 0, 0); }
    static constexpr PaintColor whiteColor() { return rgb(1, 1, 1); }
    static constexpr PaintColor redColor() { return rgb(1, 0, 0); }
    static constexpr PaintColor greenColor() { return rgb(0, 1, 0); }
    static constexpr PaintColor blueColor() { return rgb(0, 0, 1); }
    static constexpr PaintColor yellowColor() { return rgb(1, 1, 0); }

    bool operator==(const PaintColor&) const = default;
};

}  // namespace veltrin::wb
