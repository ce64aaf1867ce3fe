#include "whiteboard/boards/NewWhiteboardPanel.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/core/Resources.h"
#include "whiteboard/boards/BoardRules.h"

namespace veltrin::wb {

namespace {
constexpr int kTemplates = 6;
const char kNoImageText[] =
    "Unable to add whiteboard without image. Please select an image or try a plain color whiteboard.";
}  // namespace

NewWhiteboardPanel::NewWhiteboardPanel(QWidget* parent)
    : QDialog(parent),
      title_(new QLineEdit(this)),
      width_(new QSpinBox(this)),
      height_(new QSpinBox(this)),
      color_(new QPushButton(this)),
      tabs_(new QTabWidget(this)),
      previewLabel_(new QLabel(this)) {
    width_->setRange(0, 16384);
    height_->setRange(0, 16384);
    applyPreset(1);

    auto* presets = new QPushButton(tr("Preset Size"), this);
    auto* presetMenu = new QMenu(presets);
    for (int tag = 0; tag <= 3; ++tag) {
        const QSize size = *BoardRules::presetSize(tag);
        presetMenu->addAction(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()), this,
                              [this, tag] { applyPreset(tag); });
    }
    presets->setMenu(presetMenu);

    connect(color_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(chosenColor_, this);
        if (c.isValid()) chosenColor_ = c;
    });

    auto* plain = new QWidget(tabs_);
    auto* plainLayout = new QFormLayout(plain);
    plainLayout->addRow(tr("Background"), color_);
    auto* image = new QWidget(tabs_);
    auto* imageLayout = new QVBoxLayout(image);
    auto* templates = new QComboBox(image);
    templates->addItem(tr("No Template"), 0);
    for (int n = 1; n <= kTemplates; ++n) templates->addItem(tr("Template %1").arg(n), n);
    connect(templates, &QComboBox::currentIndexChanged, this,
            [this, templates] { chooseTemplate(templates->currentData().toInt()); });
    auto* file = new QPushButton(tr("Choose File…"), image);
    connect(file, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("Images (*.jpg *.png *.gif)"));
        if (!path.isEmpty()) chooseFile(path);
    });
    previewLabel_->setFixedSize(240, 180);
    previewLabel_->setScaledContents(true);
    imageLayout->addWidget(templates);
    imageLayout->addWidget(file);
    imageLayout->addWidget(previewLabel_);
    tabs_->addTab(plain, tr("Plain Color"));
    tabs_->addTab(image, tr("Image"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("Create"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (const auto refusal = create()) {
            QMessageBox box(QMessageBox::Warning, tr("No Image Selected"), *refusal, QMessageBox::Ok, this);
            box.exec();
            return;
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(tr("Title"), title_);
    form->addRow(tr("Width"), width_);
    form->addRow(tr("Height"), height_);
    form->addRow(QString(), presets);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

void NewWhiteboardPanel::applyPreset(int tag) {
    if (const auto size = BoardRules::presetSize(tag)) {
        width_->setValue(size->width());
        height_->setValue(size->height());
    }
}

void NewWhiteboardPanel::setPreview(QImage image) {
    preview_ = std::move(image);
    previewLabel_->setPixmap(preview_.isNull() ? QPixmap() : QPixmap::fromImage(preview_));
}

void NewWhiteboardPanel::chooseTemplate(int tag) {
    if (tag <= 0) {
        setPreview(QImage());
        return;
    }
    setPreview(QImage(resourcePath(ResourceFolder::Templates, QStringLiteral("wbtemplate_%1.png").arg(tag))));
}

bool NewWhiteboardPanel::chooseFile(const QString& path) {
    QImage image(path);
    if (image.isNull()) return false;
    setPreview(std::move(image));
    title_->setText(QFileInfo(path).fileName());
    return true;
}

void NewWhiteboardPanel::setImageTab(bool imageTab) { tabs_->setCurrentIndex(imageTab ? kImageTab : 0); }

std::optional<QString> NewWhiteboardPanel::create() {
    const bool imageTab = tabs_->currentIndex() == kImageTab;
    if (imageTab && preview_.isNull()) return tr(kNoImageText);
    if (!imageTab) setPreview(QImage());
    request_.title = title_->text().toStdString();
    request_.color = chosenColor_;
    request_.image = preview_;
    request_.width = preview_.isNull() ? width_->value() : preview_.width();
    request_.height = preview_.isNull() ? height_->value() : preview_.height();
    return std::nullopt;
}

}  // namespace veltrin::wb
