#pragma once

#include <vector>

#include <QDialog>
#include <QString>

#include "platform/screen/ScreenCapture.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace veltrin {

// What the user chose for a screenshot onto the whiteboard.
struct ScreenshotOptions {
    int display = 0;  // position in the display list
    bool hideWindow = false;
    bool waitTenSeconds = false;
    bool onNewBoard = false;
    QString title;
};

// The screenshot sheet: which display, whether to hide the window and wait, and whether the
// picture goes onto a new board with a title.
class ScreenshotPanel final : public QDialog {
    Q_OBJECT

public:
    ScreenshotPanel(const std::vector<platform::DisplayInfo>& displays, QWidget* parent = nullptr);

    ScreenshotOptions options() const;
    void setOptions(const ScreenshotOptions& options);

private:
    QComboBox* displays_;
    QCheckBox* hide_;
    QCheckBox* wait_;
    QCheckBox* newBoard_;
    QLineEdit* title_;
};

}  // namespace veltrin
