#pragma once

#include <optional>

#include <QDialog>
#include <QImage>

#include "whiteboard/boards/BoardSet.h"

class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class QPushButton;

namespace veltrin::wb {

// The new-whiteboard sheet: title, size (typed or from the preset menu), a plain colour or a
// background picture (a built-in template or a file). Accepting it leaves the user's choice in
// request(); the board set sends it.
class NewWhiteboardPanel : public QDialog {
    Q_OBJECT
public:
    static constexpr int kImageTab = 1;  // the image tab (identifier 2 in the window layout)

    explicit NewWhiteboardPanel(QWidget* parent = nullptr);

    void applyPreset(int tag);
    // Tag n > 0 shows template n in the preview; 0 clears it.
    void chooseTemplate(int tag);
    // Shows the picture and puts its file name in the title field; false when it is no picture.
    bool chooseFile(const QString& path);
    void setImageTab(bool imageTab);
    // The Create button: refused with the "No Image Selected" message on the image tab without a
    // picture (answered here, the dialog stays open).
    std::optional<QString> create();

    const NewBoardRequest& request() const { return request_; }
    const QImage& preview() const { return preview_; }
    QLineEdit* titleField() const { return title_; }

private:
    void setPreview(QImage image);

    QLineEdit* title_;
    QSpinBox* width_;
    QSpinBox* height_;
    QPushButton* color_;
    QTabWidget* tabs_;
    QLabel* previewLabel_;
    QColor chosenColor_ = Qt::white;
    QImage preview_;
    NewBoardRequest request_;
};

}  // namespace veltrin::wb
