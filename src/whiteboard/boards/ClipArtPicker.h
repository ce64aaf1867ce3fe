#pragma once

#include <QImage>
#include <QWidget>

class QComboBox;
class QListWidget;

namespace veltrin::wb {

// The clip-art window's content: a category menu and the pictures of the chosen category, one
// row each. Choosing a picture emits it; where it goes is the board set's business.
class ClipArtPicker : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCategories = 7;
    static constexpr int kRowHeight = 72;
    // Pictures per category (1-7); 0 for other numbers.
    static int pictureCount(int category);
    // The built-in name of picture k (from 1) of a category.
    static QString pictureName(int category, int k);

    explicit ClipArtPicker(QWidget* parent = nullptr);

    int category() const;
    void setCategory(int category);
    QListWidget* pictureList() const { return list_; }

signals:
    void pictureChosen(const QImage& picture, int category, int k);

private:
    void fill();

    QComboBox* categories_;
    QListWidget* list_;
};

}  // namespace veltrin::wb
