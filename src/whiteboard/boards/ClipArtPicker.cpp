#include "whiteboard/boards/ClipArtPicker.h"

#include <QComboBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/core/Resources.h"

namespace veltrin::wb {

namespace {
constexpr int kCounts[ClipArtPicker::kCategories] = {21, 41, 16, 24, 24, 37, 39};
constexpr int kPictureRole = Qt::UserRole + 1;
}  // namespace

int ClipArtPicker::pictureCount(int category) {
    return category >= 1 && category <= kCategories ? kCounts[category - 1] : 0;
}

QString ClipArtPicker::pictureName(int category, int k) { return QStringLiteral("%1-%2.png").arg(category).arg(k); }

ClipArtPicker::ClipArtPicker(QWidget* parent)
    : QWidget(parent), categories_(new QComboBox(this)), list_(new QListWidget(this)) {
    for (int c = 1; c <= kCategories; ++c) categories_->addItem(tr("Category %1").arg(c), c);
    list_->setIconSize(QSize(kRowHeight - 8, kRowHeight - 8));
    list_->setUniformItemSizes(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(categories_);
    layout->addWidget(list_);
    connect(categories_, &QComboBox::currentIndexChanged, this, &ClipArtPicker::fill);
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int k = item->data(kPictureRole).toInt();
        const QString path = resourcePath(ResourceFolder::ClipArt, pictureName(category(), k));
        const QImage picture(path);
        if (!picture.isNull()) emit pictureChosen(picture, category(), k);
    });
    fill();
}

int ClipArtPicker::category() const { return categories_->currentData().toInt(); }

void ClipArtPicker::setCategory(int category) {
    const int index = categories_->findData(category);
    if (index >= 0) categories_->setCurrentIndex(index);
}

void ClipArtPicker::fill() {
    list_->clear();
    const int c = category();
    for (int k = 1; k <= pictureCount(c); ++k) {
        auto* item = new QListWidgetItem(list_);
        item->setData(kPictureRole, k);
        item->setSizeHint(QSize(kRowHeight, kRowHeight));
        const QString path = resourcePath(ResourceFolder::ClipArt, pictureName(c, k));
        if (!path.isEmpty()) item->setIcon(QIcon(path));
    }
}

}  // namespace veltrin::wb
