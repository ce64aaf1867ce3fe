#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>

#include "classroom/whiteboard/BoardControlsBar.h"
#include "classroom/whiteboard/ScreenshotPanel.h"
#include "whiteboard/CanvasTypes.h"
#include "whiteboard/PaintObjectList.h"
#include "whiteboard/TActivePaintBox.h"
#include "whiteboard/WhiteboardToolBar.h"
#include "whiteboard/boards/BoardSet.h"
#include "whiteboard/boards/BoardSetDelegate.h"
#include "whiteboard/boards/ClipArtPicker.h"
#include "whiteboard/boards/NewWhiteboardPanel.h"
#include "wire/PaintObjectHeader.h"

namespace veltrin {

class ClassroomView;
class DefaultFlags;
class OutgoingCommands;
class UserInterface;

// What the whiteboard needs from the controller, read when it is needed.
struct WhiteboardLinks {
    std::function<OutgoingCommands*()> connection;  // the live main connection, or null
    std::function<bool()> boardAllowed;             // the local user's whiteboard permission
    std::function<QString(int uid)> fullNameOf;     // a participant's name, empty when unknown
    std::function<bool()> live;                     // a live session (not a playback); live when unset
    std::function<std::int32_t()> userType;         // the local user's type (above 0: moderator)
    UserInterface* ui = nullptr;                    // alerts and file pickers
    std::function<void(const std::string& text, double seconds)> toast;
    std::function<void(const std::string& text)> errorMessage;  // a chat line in the error style
    std::function<void()> showWhiteboardView;                   // the classroom shows its whiteboard page when chosen
    std::function<void()> blinkWhiteboardView;
};

// The whiteboard of the classroom window: the canvas with its tool bar and board controls on the
// whiteboard page, the tool actions, the canvas's delegate (which sends every local change to the
// room), the room's object, reorder and pointer commands, and the board set — which board is shown,
// the board list, and the board commands in both directions. The canvas draws and edits the board
// set's current board; the board set answers to this class for everything the user sees.
class WhiteboardFeature final : public QObject, private wb::ActivePaintDelegate, private wb::BoardSetDelegate {
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
    BoardControlsBar* controls() const { return controls_; }
    wb::BoardSet& boards() { return *boards_; }
    const wb::BoardSet& boards() const { return *boards_; }
    std::int32_t MyBoardIndex() const { return boards_->myBoardIndex(); }
    // How many times a board was shown (tests wait on it).
    int displayCount() const { return displayCount_; }

    // ---- the room's board commands (main thread)
    void Safe_SwitchToBoard(std::int32_t boardIndex);
    void Safe_DeleteBoardFromList(std::int32_t boardIndex);
    void Safe_LoadServerBoard(const TBoardSnapshot& board);
    void Safe_LoadSingleBoard(const TBoardSnapshot& board);
    void Safe_CreateXBoard(const TNewBoard& board, std::int32_t fromUid);
    void Safe_SetBoardRotation(std::int32_t boardIndex, std::int32_t imageType);
    void Safe_ClearWhiteboard(std::int32_t boardIndex, std::int32_t clearType);
    void Safe_SlideAnswer(std::int32_t result);

    // ---- board actions
    void WBComboChanged(std::int32_t tag);
    void acWBScale(std::int32_t tag);
    void acwbToggleMarkup();
    void acWBRotate(std::int32_t step);
    void wbacRemoveAllBoards();
    void wbacRemoveWhiteboard();
    void wbacRemoveMarkup();
    // Opens the new-whiteboard sheet; its Create sends the board.
    void wbacNewWhiteboard();
    bool acWhiteboardCreate(const wb::NewBoardRequest& request);
    wb::NewWhiteboardPanel* newWhiteboardPanel() const { return newBoardPanel_; }
    // Opens the screenshot sheet over the displays there are; its OK captures.
    void wbacScreenShot();
    // Captures the chosen display (after hiding the window and waiting, when asked) and places it.
    void acScreenShotOK(const ScreenshotOptions& options);
    ScreenshotPanel* screenshotPanel() const { return screenshotPanel_; }
    bool screenshotPending() const { return screenshotPending_; }
    void wbacClipart();
    void wbacAddClipartItem(const QImage& picture);
    QWidget* clipArtWindow() const { return clipArtWindow_; }
    wb::ClipArtPicker* clipArtPicker() const { return clipArtPicker_; }
    // The application menu's exports: each asks for a "pdf" file name first.
    bool exportCurrentBoard();
    bool ExportAllBoardsToPDFFile();

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

    // BoardSetDelegate
    bool runAlert(const wb::BoardAlert& alert) override;
    void showToast(const std::string& text, double seconds) override;
    void addErrorMessage(const std::string& text) override;
    void boardListChanged(const wb::BoardList& list, std::int32_t selectedTag) override;
    void repaintCanvas() override;
    void displayWhiteboard(bool readOnly) override;
    void blinkWhiteboardView() override;
    void setMarkupButtonImage(const std::string& imageName) override;
    void setScaleControls(std::int32_t chosenType) override;
    void showPointer(std::int32_t x, std::int32_t y, bool show, std::int32_t pointerIndex) override;
    void placeImageObject(const QImage& picture, const QPointF& boardPoint) override;

    // The board set works from the session as it is now (connection, permission, mode).
    wb::BoardSet& syncedBoards();
    // The canvas takes the board set's board: size, scale type, background, markup.
    void showBoardOnCanvas();
    void placeClipArtWindow();

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
    QPointer<BoardControlsBar> controls_;
    QPointer<wb::NewWhiteboardPanel> newBoardPanel_;
    QPointer<ScreenshotPanel> screenshotPanel_;
    QPointer<QWidget> clipArtWindow_;
    QPointer<wb::ClipArtPicker> clipArtPicker_;
    std::vector<platform::DisplayInfo> displays_;
    bool screenshotPending_ = false;
    int displayCount_ = 0;
    Tool chosenTool_ = Tool::Arrow;
    int storedPenWidth_;
    int storedTextSize_;
    int storedHighlighterWidth_;
    // A folder of this classroom's own: two clients on one machine (or in one test) must not
    // overwrite or remove each other's board files.
    QTemporaryDir boardFolder_;
    std::unique_ptr<wb::BoardSet> boards_;
};

}  // namespace veltrin
