#pragma once

#include <cstdint>

#include <QString>

namespace veltrin::wb {

// Which stored size the width stepper shows for a tool.
enum class WidthSource { None, PenWidth, TextSize, HighlighterWidth };

// What the tool bar shows once a tool button is pressed. Creating tools carry the kind they create
// as their tag; the arrow, pointer and eraser carry a tag that hides the settings.
struct ToolBarSettings {
    bool lineColorVisible = false;
    bool widthVisible = false;
    QString widthLabel;
    WidthSource widthSource = WidthSource::None;
    bool fillColorVisible = false;
    QString fillColorTitle;
    // The canvas takes the tool bar's colours and sizes afterwards.
    bool takeColorsAndSizes = false;
    bool operator==(const ToolBarSettings&) const = default;
};

ToolBarSettings toolBarSettingsFor(std::int32_t tag, bool isPointerTool);

// The stored size the stepper's value goes to: highlighter width, else text size, else pen width.
WidthSource widthTargetFor(std::int32_t chosenKind);

}  // namespace veltrin::wb
