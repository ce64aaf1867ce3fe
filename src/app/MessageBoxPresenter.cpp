#include "app/MessageBoxPresenter.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace veltrin {
namespace {

constexpr int InformativeTextWidth = 380;

QMessageBox::Icon iconFor(MessageStyle style) {
    switch (style) {
    case MessageStyle::Warning:
        return QMessageBox::Warning;
    case MessageStyle::Critical:
        return QMessageBox::Critical;
    case MessageStyle::Informational:
        break;
    }
    return QMessageBox::Information;
}

}  // namespace

int MessageBoxPresenter::showMessage(const QString& title, const QString& text, const QStringList& buttons,
                                     MessageStyle style) {
    QMessageBox box(parent_);
    box.setIcon(iconFor(style));
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(title);
    box.setInformativeText(text);
    // Texts can come from the server (a disconnect message, a participant's name): they are shown
    // as written, never interpreted as markup.
    if (auto* informative = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        informative->setTextFormat(Qt::PlainText);
        informative->setMinimumWidth(InformativeTextWidth);
    }
    if (auto* headline = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        QFont bold = headline->font();
        bold.setBold(true);
        headline->setFont(bold);
    }
    box.setAccessibleName(title);
    box.setAccessibleDescription(text);
    const QStringList captions = buttons.isEmpty() ? QStringList{QStringLiteral("OK")} : buttons;
    QList<QAbstractButton*> added;
    for (qsizetype i = 0; i < captions.size(); ++i) {
        QPushButton* button = box.addButton(captions[i], i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
        button->setAccessibleName(captions[i]);
        added << button;
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(added.front()));
    // Escape and the window's close button answer the last button, the usual "cancel" position.
    box.setEscapeButton(added.back());
    box.exec();
    const qsizetype chosen = added.indexOf(box.clickedButton());
    return static_cast<int>(chosen >= 0 ? chosen : added.size() - 1);
}

std::optional<QString> MessageBoxPresenter::selectFileToSave(const QStringList& fileTypes) {
    QStringList patterns;
    for (const QString& type : fileTypes) patterns << QStringLiteral("*.") + type;
    const QString filter = fileTypes.isEmpty() ? QString()
                                               : QStringLiteral("%1 (%2)").arg(fileTypes.join(QStringLiteral(", ")).toUpper(),
                                                                                patterns.join(u' '));
    QFileDialog dialog(parent_, QStringLiteral("Save"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    if (!fileTypes.isEmpty()) dialog.setDefaultSuffix(fileTypes.front());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
}

void MessageBoxPresenter::openUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void MessageBoxPresenter::quit() {
    // Queued, so that a quit asked for from inside a handler (or before the event loop runs) still
    // ends the application once control is back in the loop.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace veltrin
