#include "app/MainWindow.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include "app/MainMenu.h"
#include "app/WelcomeArea.h"

namespace veltrin {
namespace {

constexpr QSize DefaultSize(960, 640);
constexpr QSize MinimumSize(720, 520);

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Veltrin"));
    setAccessibleName(QStringLiteral("Veltrin"));
    setMinimumSize(MinimumSize);
    resize(DefaultSize);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    welcome_ = new WelcomeArea(content);
    layout->addWidget(welcome_);
    setCentralWidget(content);
    welcome_->hide();

    menu_ = new MainMenu(*menuBar(), this);
}

MainWindow::~MainWindow() {
    // A view still shown belongs to its classroom, not to this window.
    removeRoomView();
}

void MainWindow::showWelcome() { welcome_->show(); }

void MainWindow::hideWelcome() { welcome_->hide(); }

bool MainWindow::isWelcomeShown() const { return !welcome_->isHidden(); }

void MainWindow::setRoomView(QWidget* view) {
    removeRoomView();
    if (view == nullptr) return;
    roomView_ = view;
    centralWidget()->layout()->addWidget(view);
    view->show();
}

void MainWindow::removeRoomView() {
    if (roomView_ == nullptr) return;
    centralWidget()->layout()->removeWidget(roomView_);
    roomView_->hide();
    roomView_->setParent(nullptr);
    roomView_ = nullptr;
}

void MainWindow::centreOnScreen() {
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace veltrin
