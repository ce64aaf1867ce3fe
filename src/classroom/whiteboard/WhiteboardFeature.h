#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

#include "whiteboard/CanvasTypes.h"
#include "whiteboard/TActivePaintBox.h"
#include "whiteboard/PaintObjectList.h"
#include "whiteboard/WhiteboardToolBar.h"
#include "wire/PaintObjectHeader.h"

namespace veltrin {

class ClassroomView;
class DefaultFlags;
class OutgoingCommands;

// What the whiteboard needs from the controller, read when it is needed.
struct WhiteboardLinks {
    std::function<OutgoingCommands*()> connection;  // the live main connection, or null
    std::function<bool()> boardAllowed;              // the local user's whiteboard permission
    std::function<QString(int uid)> fullNameOf;      // a participant's name, empty when unknown
};

// The whiteboard of the classroom window: the canvas and its tool bar on the whiteboard page, the
// objects of the boards, the tool actions, the canvas's delegate (which sends every local change to
// the room) and the handling of the room's object, reorder and pointer commands.
//
// Boards are kept as a plain map from board index to object list; board 1 is shown until the
// board set says otherwise.
class WhiteboardFeature final : public QObject, private wb::ActivePaintDelegate {
    Q_OBJECT

public:
    using Tool = wb::WhiteboardToolBar::Tool;

    WhiteboardFeature(WhiteboardLinks links, DefaultFlags& settings, ClassroomView& view);
    ~WhiteboardFeature() override;

    // A (re)join: the canvas is created on the first, every board is forgotten, board 1 is shown.
    void resetForJoin(std::int32_t localUid);
    // Read-only canvas and tool bar visibility as the permissions decide them.
    void applyControls(bool canvasReadOnly, bool toolBarVisible);

    wb::TActivePaintBox* canvas() const { return canvas_; }
    wb::WhiteboardToolBar* toolBar() const { return toolBar_; }
    std::int32_t MyBoardIndex() const { return myBoardIndex_; }
    // Shows board `index` (an empty one the first time).
    void showBoard(std::int32_t index);
    std::shared_ptr<wb::PaintObjectList> board(std::int32_t index) const;

    // ---- the room's commands (main thread)
    void Safe_PaintXObject(const TPaintObjectHeader& header, const Bytes& body);
    void Safe_ItemReordered(std::int32_t boardIndex, std::int32_t localIndex, std::int32_t position,
                            std::int32_t ownerUid);
    void Safe_Pointer(std::int32_t boardIndex, std::int32_t x, std::int32_t y, bool show, std::int32_t pointerIndex);

    // ---- tool actions
    void wbacArrow();
    void wbacLine();
    void wbacPencil();
    void wbacMarker();
    void wbacText();
    void wbacImage();
    void wbacGrid();
    void wbacShape();
    void SelectShapeType(std::int32_t kind);
    void wbacPointer();
    void SelectPointerImg(std::int32_t index);
    void wbacEraser();
    void acPenWidth(int value);
    void UpdateWBToolbar(Tool pressed);
    void UpdateCanvasDefaultColorsAndSizes();
    void pasteTextFromClipboard();

    // The board-set actions of the general context menu; set by whoever owns the board set.
    std::function<void()> removeAllMarkup;
    std::function<void()> removeWhiteboard;
    // The context menu shown last (tests look at it).
    QMenu* lastContextMenu() const { return lastMenu_; }

private:
    // ActivePaintDelegate
    void ActivePaint_NewObject(const wb::TPaintObject& object) override;
    void ActivePaint_UpdateObject(const wb::TPaintObject& object) override;
    void ActivePaint_BeforeDeleteObject(const wb::TPaintObject& object) override;
    void ActivePaint_MoveToPos(const wb::TPaintObject& object, std::int32_t position) override;
    void ActivePaint_Pointer(std::int32_t x, std::int32_t y, bool show, std::int32_t pointerIndex) override;
    void ActivePaint_ShowPopUpAtPoint(const QPoint& viewPoint) override;
    void ActivePaint_DetailsOfObject(const wb::TPaintObject& object, const QPoint& viewPoint) override;
    void ActivePaint_CanvasModeChangedTo(std::int32_t mode) override;

    void createCanvas();
    // The connection to send through, when the local user may draw.
    OutgoingCommands* drawingConnection() const;
    void sendObject(const wb::TPaintObject& object, std::int32_t updateType);
    void chooseTool(Tool tool, std::int32_t kind, std::int32_t mode);
    void popUp(std::unique_ptr<QMenu> menu, const QPoint& viewPoint);

    WhiteboardLinks links_;
    DefaultFlags& settings_;
    ClassroomView& view_;
    QPointer<QWidget> holder_;
    QPointer<wb::TActivePaintBox> canvas_;
    QPointer<wb::WhiteboardToolBar> toolBar_;
    QPointer<QMenu> lastMenu_;
    std::map<std::int32_t, std::shared_ptr<wb::PaintObjectList>> boards_;
    std::int32_t myBoardIndex_ = 1;
    Tool chosenTool_ = Tool::Arrow;
    int storedPenWidth_;
    int storedTextSize_;
    int storedHighlighterWidth_;
};

}  // namespace veltrin
