#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "app/MessageBoxPresenter.h"

namespace veltrin {
namespace {

struct Seen {
    QString windowTitle, text, informativeText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Once the box is up, notes what it shows and presses the button with the given caption.
void pressWhenShown(const QString& caption, Seen& seen) {
    QTimer::singleShot(0, [caption, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            pressWhenShown(caption, seen);
            return;
        }
        seen = {box->windowTitle(), box->text(), box->informativeText(), box->icon(), {}};
        for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == caption) button->click();
    });
}

TEST(MessageBoxPresenterTest, ShowsAModalBoxAndAnswersTheChosenButton) {
    QWidget window;
    MessageBoxPresenter ui(&window);
    Seen seen;
    pressWhenShown(QStringLiteral("No, Not Now."), seen);
    const int chosen = ui.showMessage(QStringLiteral("Update available!"), QStringLiteral("Update now?"),
                                      {QStringLiteral("Yes"), QStringLiteral("No, Not Now.")}, MessageStyle::Warning);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(seen.windowTitle, QStringLiteral("Update available!"));
    EXPECT_EQ(seen.text, QStringLiteral("Update available!"));
    EXPECT_EQ(seen.informativeText, QStringLiteral("Update now?"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons.size(), 2);

    pressWhenShown(QStringLiteral("Close"), seen);
    EXPECT_EQ(ui.showMessage(QStringLiteral("Failed"), QStringLiteral("Broken"), {QStringLiteral("Close")},
                             MessageStyle::Critical),
              0);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST(MessageBoxPresenterTest, ShowsTextsFromOutsideAsWrittenNotAsMarkup) {
    QWidget window;
    MessageBoxPresenter ui(&window);
    Qt::TextFormat informativeFormat = Qt::AutoText;
    QTimer::singleShot(0, [&informativeFormat] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (const QLabel* label : box->findChildren<QLabel*>())
            if (label->text() == QStringLiteral("<b>Server</b> says <img src=x>")) informativeFormat = label->textFormat();
        box->buttons().front()->click();
    });
    ui.showMessage(QStringLiteral("Disconnected"), QStringLiteral("<b>Server</b> says <img src=x>"),
                   {QStringLiteral("OK")}, MessageStyle::Informational);
    EXPECT_EQ(informativeFormat, Qt::PlainText);
}

}  // namespace
}  // namespace veltrin
