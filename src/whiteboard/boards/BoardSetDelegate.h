#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QImage>
#include <QPointF>

namespace veltrin::wb {

class BoardList;

// A modal alert: message, informative text and buttons, the first of which confirms.
struct BoardAlert {
    std::string message;
    std::string informativeText;
    std::vector<std::string> buttons;
    bool operator==(const BoardAlert&) const = default;
};

// Everything the board set shows the user or asks of the window, implemented by the classroom and
// by a recording fake in tests. Called on the main thread only.
class BoardSetDelegate {
public:
    virtual ~BoardSetDelegate() = default;

    // Runs a modal alert; true when the first button was chosen.
    virtual bool runAlert(const BoardAlert& alert) = 0;
    virtual void showToast(const std::string& text, double seconds) = 0;
    // A line in the chat log's error style.
    virtual void addErrorMessage(const std::string& text) = 0;

    // The list of boards changed; `selectedTag` is the board shown.
    virtual void boardListChanged(const BoardList& list, std::int32_t selectedTag) = 0;
    // The canvas content or appearance changed and should be drawn again (when interface updates
    // are allowed).
    virtual void repaintCanvas() = 0;
    // Shows the whiteboard view; `readOnly` says whether the canvas takes input.
    virtual void displayWhiteboard(bool readOnly) = 0;
    virtual void blinkWhiteboardView() = 0;
    virtual void setMarkupButtonImage(const std::string& imageName) = 0;
    // The scale control of `chosenType` (0-2) is disabled and the other two enabled.
    virtual void setScaleControls(std::int32_t chosenType) = 0;
    // The remote pointer of the board shown.
    virtual void showPointer(std::int32_t x, std::int32_t y, bool show, std::int32_t pointerIndex) = 0;
    // Places a picture as a new image object of the canvas at a board point (the canvas assigns
    // its id, selects it and reports it as new).
    virtual void placeImageObject(const QImage& picture, const QPointF& boardPoint) = 0;
};

}  // namespace veltrin::wb
