#include "classroom/whiteboard/ScreenshotPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace veltrin {

ScreenshotPanel::ScreenshotPanel(const std::vector<platform::DisplayInfo>& displays, QWidget* parent)
    : QDialog(parent),
      displays_(new QComboBox(this)),
      hide_(new QCheckBox(tr("Hide this window while capturing"), this)),
      wait_(new QCheckBox(tr("Wait 10 seconds before capturing"), this)),
      newBoard_(new QCheckBox(tr("Place on a new whiteboard"), this)),
      title_(new QLineEdit(this)) {
    setWindowTitle(tr("Screenshot"));
    for (std::size_t i = 0; i < displays.size(); ++i) displays_->addItem(displays[i].name, int(i));
    title_->setEnabled(false);
    connect(newBoard_, &QCheckBox::toggled, title_, &QLineEdit::setEnabled);
    auto* form = new QFormLayout;
    form->addRow(tr("Display"), displays_);
    form->addRow(QString(), hide_);
    form->addRow(QString(), wait_);
    form->addRow(QString(), newBoard_);
    form->addRow(tr("Title"), title_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

ScreenshotOptions ScreenshotPanel::options() const {
    ScreenshotOptions o;
    o.display = displays_->currentData().toInt();
    o.hideWindow = hide_->isChecked();
    o.waitTenSeconds = wait_->isChecked();
    o.onNewBoard = newBoard_->isChecked();
    o.title = title_->text();
    return o;
}

void ScreenshotPanel::setOptions(const ScreenshotOptions& options) {
    displays_->setCurrentIndex(displays_->findData(options.display));
    hide_->setChecked(options.hideWindow);
    wait_->setChecked(options.waitTenSeconds);
    newBoard_->setChecked(options.onNewBoard);
    title_->setText(options.title);
}

}  // namespace veltrin
