#include "whiteboard/WhiteboardToolRules.h"

#include "whiteboard/TPaintObject.h"

namespace veltrin::wb {

ToolBarSettings toolBarSettingsFor(std::int32_t tag, bool isPointerTool) {
    ToolBarSettings s;
    if (isPointerTool) return s;
    const QString width = QStringLiteral("Width");
    switch (tag) {
    case kLine:
    case kRectangle:
    case kOval:
    case kPencil:
    case kTriangle:
    case kPentagon:
    case kHexagon:
    case kDiamond:
    case kParallelogram:
    case kTrapezium:
    case kCylinder:
    case kCone:
        return {true, true, width, WidthSource::PenWidth, false, {}, true};
    case kFilledRectangle:
    case kFilledOval:
        return {true, true, width, WidthSource::PenWidth, true, QStringLiteral("Fill"), true};
    case kText:
        return {true, true, QStringLiteral("Text Size"), WidthSource::TextSize, false, {}, true};
    case kHighlighter:
        return {false, true, width, WidthSource::HighlighterWidth, true, QStringLiteral("Color"), true};
    default:
        return s;
    }
}

WidthSource widthTargetFor(std::int32_t chosenKind) {
    if (chosenKind == kHighlighter) return WidthSource::HighlighterWidth;
    if (chosenKind == kText) return WidthSource::TextSize;
    return WidthSource::PenWidth;
}

}  // namespace veltrin::wb
