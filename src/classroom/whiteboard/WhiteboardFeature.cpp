#include "classroom/whiteboard/WhiteboardFeature.h"

#include <QClipboard>
#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>

#include "app/core/DefaultFlags.h"
#include "app/core/VeltrinTools.h"
#include "classroom/ClassroomView.h"
#include "classroom/whiteboard/BoardControlsBar.h"
#include "session/OutgoingCommands.h"
#include "whiteboard/CanvasContextMenus.h"
#include "whiteboard/ImageCodec.h"
#include "whiteboard/PaintObjectRenderer.h"
#include "whiteboard/TActivePaintBox.h"
#include "whiteboard/WhiteboardToolRules.h"
#include "whiteboard/boards/ClipArtPicker.h"
#include "whiteboard/boards/NewWhiteboardPanel.h"

namespace veltrin {

using namespace wb;

namespace {

PaintColor toPaintColor(const QColor& c) { return PaintColor{c.redF(), c.greenF(), c.blueF(), c.alphaF()}; }

}  // namespace

WhiteboardFeature::WhiteboardFeature(WhiteboardLinks links, DefaultFlags& settings, ClassroomView& view)
    : links_(std::move(links)),
      settings_(settings),
      view_(view),
      storedPenWidth_(settings.defStoredPenWidth()),
      storedTextSize_(settings.defStoredTextSize()),
      storedHighlighterWidth_(settings.defStoredHighliterWidth()),
      boardFolder_(QDir(VeltrinTools::getVeltrinTempDir()).filePath(QStringLiteral("boards-XXXXXX"))) {
    boards_ = std::make_unique<BoardSet>(static_cast<BoardSetDelegate&>(*this),
                                         boardFolder_.isValid() ? BoardFiles(boardFolder_.path()) : BoardFiles());
}

WhiteboardFeature::~WhiteboardFeature() {
    // The widgets belong to the view, which may outlive this feature by a moment.
    if (canvas_) canvas_->interaction().setDelegate(nullptr);
    if (toolBar_) toolBar_->disconnect(this);
    if (controls_) controls_->disconnect(this);
    delete clipArtWindow_.data();
    delete newBoardPanel_.data();
    delete screenshotPanel_.data();
}

void WhiteboardFeature::createCanvas() {
    auto* holder = new QWidget;
    holder->setObjectName(QStringLiteral("whiteboardCanvasHolder"));
    auto* layout = new QGridLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    controls_ = new BoardControlsBar(holder);
    toolBar_ = new WhiteboardToolBar(holder);
    canvas_ = new TActivePaintBox(holder);
    layout->addWidget(controls_, 0, 0, 1, 2);
    layout->addWidget(toolBar_, 1, 0);
    layout->addWidget(canvas_, 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    holder_ = holder;
    canvas_->interaction().setDelegate(this);
    canvas_->interaction().setObjectList(boards_->objectList());

    connect(controls_, &BoardControlsBar::boardChosen, this, &WhiteboardFeature::WBComboChanged);
    connect(controls_, &BoardControlsBar::newBoardRequested, this, &WhiteboardFeature::wbacNewWhiteboard);
    connect(controls_, &BoardControlsBar::markupToggled, this, &WhiteboardFeature::acwbToggleMarkup);
    connect(controls_, &BoardControlsBar::rotateRequested, this, &WhiteboardFeature::acWBRotate);
    connect(controls_, &BoardControlsBar::scaleChosen, this, &WhiteboardFeature::acWBScale);
    connect(controls_, &BoardControlsBar::screenshotRequested, this, &WhiteboardFeature::wbacScreenShot);
    connect(controls_, &BoardControlsBar::clipArtToggled, this, &WhiteboardFeature::wbacClipart);
    connect(controls_, &BoardControlsBar::removeBoardRequested, this, &WhiteboardFeature::wbacRemoveWhiteboard);
    connect(controls_, &BoardControlsBar::removeMarkupRequested, this, &WhiteboardFeature::wbacRemoveMarkup);
    connect(controls_, &BoardControlsBar::exportAllRequested, this, [this] { ExportAllBoardsToPDFFile(); });

    connect(toolBar_, &WhiteboardToolBar::toolTriggered, this, [this](Tool tool) {
        switch (tool) {
        case Tool::Arrow: wbacArrow(); break;
        case Tool::Line: wbacLine(); break;
        case Tool::Pencil: wbacPencil(); break;
        case Tool::Marker: wbacMarker(); break;
        case Tool::Text: wbacText(); break;
        case Tool::Image: wbacImage(); break;
        case Tool::Grid: wbacGrid(); break;
        case Tool::Shape: wbacShape(); break;
        case Tool::Pointer: wbacPointer(); break;
        case Tool::Eraser: wbacEraser(); break;
        default: break;
        }
    });
    connect(toolBar_, &WhiteboardToolBar::shapeChosen, this, &WhiteboardFeature::SelectShapeType);
    connect(toolBar_, &WhiteboardToolBar::pointerChosen, this, &WhiteboardFeature::SelectPointerImg);
    connect(toolBar_, &WhiteboardToolBar::colorsChanged, this, &WhiteboardFeature::UpdateCanvasDefaultColorsAndSizes);
    connect(toolBar_, &WhiteboardToolBar::penWidthChanged, this, &WhiteboardFeature::acPenWidth);
    view_.setWhiteboardCanvas(holder);
}

void WhiteboardFeature::resetForJoin(std::int32_t localUid) {
    if (!canvas_) createCanvas();
    canvas_->interaction().setMyUID(localUid);
    syncedBoards().startSession();
    controls_->setPlayback(!boards_->isLive());
    canvas_->setScaleType(boards_->scaleType());
    showBoardOnCanvas();
    canvas_->showPointerAt(0, 0, false, -1);
    // At session start the line button is black, the fill yellow, and the sizes come from the settings.
    toolBar_->lineColorButton()->setColor(Qt::black);
    toolBar_->fillColorButton()->setColor(Qt::yellow);
    wbacArrow();
}

void WhiteboardFeature::applyControls(bool canvasReadOnly, bool toolBarVisible) {
    if (canvas_ && canvas_->ReadOnly() != canvasReadOnly) canvas_->SetReadOnly(canvasReadOnly);
    if (toolBar_) toolBar_->setVisible(toolBarVisible);
    if (controls_) controls_->setEditingAllowed(!canvasReadOnly);
}

// ---- the room's commands

void WhiteboardFeature::Safe_PaintXObject(const TPaintObjectHeader& header, const Bytes& body) {
    if (!canvas_ || header.BoardIndex != MyBoardIndex()) return;
    canvas_->objects().applyObjectUpdate(header, body);
    canvas_->update();
}

void WhiteboardFeature::Safe_ItemReordered(std::int32_t boardIndex, std::int32_t localIndex, std::int32_t position,
                                           std::int32_t ownerUid) {
    if (!canvas_ || boardIndex != MyBoardIndex()) return;
    canvas_->objects().applyReorder(localIndex, position, ownerUid);
    canvas_->update();
}

void WhiteboardFeature::Safe_Pointer(std::int32_t boardIndex, std::int32_t x, std::int32_t y, bool show,
                                     std::int32_t pointerIndex) {
    if (!canvas_ || boardIndex != MyBoardIndex()) return;
    canvas_->showPointerAt(x, y, show, pointerIndex);
}

// ---- delegate: what the canvas reports goes to the room

OutgoingCommands* WhiteboardFeature::drawingConnection() const {
    if (!links_.boardAllowed || !links_.boardAllowed()) return nullptr;
    return links_.connection ? links_.connection() : nullptr;
}

void WhiteboardFeature::sendObject(const TPaintObject& object, std::int32_t updateType) {
    OutgoingCommands* connection = drawingConnection();
    if (!connection) return;
    const PaintObjectRef ref{object.FUserID, object.FBorardIndex, object.FObjectID, object.FTyp == kImage};
    if (updateType == TPaintObjectHeader::kDeletedObject) {
        connection->send_UpdateObject(ref, updateType, {});
        return;
    }
    // New objects carry their picture; changes do not, the receivers keep the one they have.
    const Bytes body = object.bodyBytes(updateType == TPaintObjectHeader::kNewObject, ImageCodec::kPng);
    connection->send_UpdateObject(ref, updateType, body);
}

void WhiteboardFeature::ActivePaint_NewObject(const TPaintObject& object) {
    sendObject(object, TPaintObjectHeader::kNewObject);
}
void WhiteboardFeature::ActivePaint_UpdateObject(const TPaintObject& object) {
    sendObject(object, TPaintObjectHeader::kChangedObject);
}
void WhiteboardFeature::ActivePaint_BeforeDeleteObject(const TPaintObject& object) {
    sendObject(object, TPaintObjectHeader::kDeletedObject);
}

void WhiteboardFeature::ActivePaint_MoveToPos(const TPaintObject& object, std::int32_t position) {
    if (OutgoingCommands* connection = drawingConnection())
        connection->send_ReorderObjectId(object.FObjectID, object.FUserID, MyBoardIndex(), position);
}

void WhiteboardFeature::ActivePaint_Pointer(std::int32_t x, std::int32_t y, bool show, std::int32_t pointerIndex) {
    if (OutgoingCommands* connection = drawingConnection())
        connection->send_Pointer(pointerIndex, x, y, MyBoardIndex(), show);
}

void WhiteboardFeature::popUp(std::unique_ptr<QMenu> menu, const QPoint& viewPoint) {
    QMenu* shown = menu.release();
    shown->setAttribute(Qt::WA_DeleteOnClose);
    lastMenu_ = shown;
    shown->popup(canvas_ ? canvas_->mapToGlobal(viewPoint) : viewPoint);
}

void WhiteboardFeature::ActivePaint_ShowPopUpAtPoint(const QPoint& viewPoint) {
    if (!canvas_) return;
    CanvasMenuActions actions;
    actions.pasteText = [this] { pasteTextFromClipboard(); };
    actions.removeAllMarkup = [this] { wbacRemoveMarkup(); };
    actions.removeWhiteboard = [this] { wbacRemoveWhiteboard(); };
    popUp(buildGeneralMenu(actions, canvas_), viewPoint);
}

void WhiteboardFeature::ActivePaint_DetailsOfObject(const TPaintObject& object, const QPoint& viewPoint) {
    if (!canvas_) return;
    QString name = links_.fullNameOf ? links_.fullNameOf(object.FUserID) : QString();
    if (name.isEmpty()) name = QStringLiteral("Unknown");
    QPointer<TActivePaintBox> canvas = canvas_;
    CanvasMenuActions actions;
    actions.pasteText = [this] { pasteTextFromClipboard(); };
    actions.editText = [canvas] {
        if (canvas) canvas->interaction().DisplayTextTyperForSelectedObject();
    };
    actions.deleteObject = [canvas] {
        if (canvas) canvas->interaction().DeleteSelected();
    };
    actions.bringToFront = [canvas] {
        if (canvas) canvas->interaction().SelectedToFront();
    };
    actions.sendToBack = [canvas] {
        if (canvas) canvas->interaction().SelectedToBack();
    };
    popUp(buildObjectMenu(object, name, actions, canvas_), viewPoint);
}

void WhiteboardFeature::ActivePaint_CanvasModeChangedTo(std::int32_t mode) {
    if (mode == kArrowMode && toolBar_) UpdateWBToolbar(Tool::Arrow);
}

void WhiteboardFeature::pasteTextFromClipboard() {
    if (!canvas_) return;
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) return;
    canvas_->interaction().NewShapeTextSize = storedTextSize_;
    canvas_->interaction().PasteTextObject(text, QPointF(10, 10), true);
}

// ---- tool actions

void WhiteboardFeature::chooseTool(Tool tool, std::int32_t kind, std::int32_t mode) {
    if (!canvas_) return;
    CanvasInteraction& canvas = canvas_->interaction();
    if (kind >= 0) canvas.SetNewShapeType(kind);
    canvas.SetCanvasMode(mode);
    UpdateWBToolbar(tool);
}

void WhiteboardFeature::wbacArrow() { chooseTool(Tool::Arrow, -1, kArrowMode); }
void WhiteboardFeature::wbacLine() {
    if (!canvas_) return;
    UpdateCanvasDefaultColorsAndSizes();
    chooseTool(Tool::Line, kLine, kDrawMode);
}
void WhiteboardFeature::wbacPencil() { chooseTool(Tool::Pencil, kPencil, kDrawMode); }
void WhiteboardFeature::wbacMarker() { chooseTool(Tool::Marker, kHighlighter, kDrawMode); }
void WhiteboardFeature::wbacText() { chooseTool(Tool::Text, kText, kDrawMode); }
void WhiteboardFeature::wbacImage() { chooseTool(Tool::Image, kImage, kDrawMode); }
void WhiteboardFeature::wbacGrid() { chooseTool(Tool::Grid, kGrid, kDrawMode); }
void WhiteboardFeature::wbacShape() {
    if (toolBar_) chooseTool(Tool::Shape, toolBar_->tagOf(Tool::Shape), kDrawMode);
}
void WhiteboardFeature::wbacPointer() { chooseTool(Tool::Pointer, -1, kPointerMode); }
void WhiteboardFeature::wbacEraser() { chooseTool(Tool::Eraser, -1, kEraserMode); }

void WhiteboardFeature::SelectShapeType(std::int32_t kind) {
    if (!canvas_) return;
    toolBar_->setShape(kind);
    CanvasInteraction& canvas = canvas_->interaction();
    canvas.SetNewShapeType(kind);
    if (canvas.CanvasMode() != kDrawMode) canvas.SetCanvasMode(kDrawMode);
    UpdateWBToolbar(Tool::Shape);
}

void WhiteboardFeature::SelectPointerImg(std::int32_t index) {
    if (!canvas_) return;
    toolBar_->setPointerImage(index);
    CanvasInteraction& canvas = canvas_->interaction();
    canvas.setMyPointer(index);
    if (canvas.CanvasMode() != kPointerMode) canvas.SetCanvasMode(kPointerMode);
    UpdateWBToolbar(Tool::Pointer);
}

void WhiteboardFeature::UpdateCanvasDefaultColorsAndSizes() {
    if (!canvas_ || !toolBar_) return;
    CanvasInteraction& canvas = canvas_->interaction();
    const PaintColor line = toPaintColor(toolBar_->lineColorButton()->color());
    canvas.NewShapeFontColor = line;
    canvas.NewShapeOutlineColor = line;
    canvas.NewShapeFillColor = toPaintColor(toolBar_->fillColorButton()->color());
    const int width = toolBar_->stepperValue();
    canvas.NewShapeOutlineWidth = width;
    canvas.NewShapeHighlighterWidth = width;
    canvas.NewShapeTextSize = width;
}

void WhiteboardFeature::UpdateWBToolbar(Tool pressed) {
    if (!toolBar_) return;
    chosenTool_ = pressed;
    toolBar_->markChosen(pressed);
    const ToolBarSettings s = toolBarSettingsFor(toolBar_->tagOf(pressed), pressed == Tool::Pointer);
    toolBar_->lineColorButton()->setVisible(s.lineColorVisible);
    toolBar_->widthLabel()->setVisible(s.widthVisible);
    toolBar_->widthStepper()->setVisible(s.widthVisible);
    toolBar_->widthValue()->setVisible(s.widthVisible);
    toolBar_->fillColorButton()->setVisible(s.fillColorVisible);
    if (s.widthVisible) toolBar_->widthLabel()->setText(s.widthLabel);
    if (s.fillColorVisible) toolBar_->fillColorButton()->setTitle(s.fillColorTitle);
    switch (s.widthSource) {
    case WidthSource::PenWidth: toolBar_->setStepperValue(storedPenWidth_); break;
    case WidthSource::TextSize: toolBar_->setStepperValue(storedTextSize_); break;
    case WidthSource::HighlighterWidth: toolBar_->setStepperValue(storedHighlighterWidth_); break;
    case WidthSource::None: break;
    }
    if (s.takeColorsAndSizes) UpdateCanvasDefaultColorsAndSizes();
}

void WhiteboardFeature::acPenWidth(int value) {
    if (!toolBar_) return;
    UpdateCanvasDefaultColorsAndSizes();
    toolBar_->widthValue()->setText(QString::number(value));
    const std::int32_t kind = chosenTool_ == Tool::Marker ? kHighlighter : chosenTool_ == Tool::Text ? kText : kLine;
    switch (widthTargetFor(kind)) {
    case WidthSource::HighlighterWidth:
        storedHighlighterWidth_ = value;
        settings_.setDefStoredHighliterWidth(value);
        break;
    case WidthSource::TextSize:
        storedTextSize_ = value;
        settings_.setDefStoredTextSize(value);
        break;
    default:
        storedPenWidth_ = value;
        settings_.setDefStoredPenWidth(value);
        break;
    }
    settings_.SaveDefaultProperties();
}

}  // namespace veltrin
