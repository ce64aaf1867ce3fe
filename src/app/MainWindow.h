#pragma once

#include <QMainWindow>
#include <QPointer>

namespace veltrin {

class MainMenu;
class WelcomeArea;

// The single main window: the welcome area while no classroom is open, otherwise the classroom's
// view filling the content area. It shows views; it owns only the welcome area and the menu.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    WelcomeArea& welcome() { return *welcome_; }
    MainMenu& mainMenu() { return *menu_; }

    void showWelcome();
    void hideWelcome();
    bool isWelcomeShown() const;

    // Shows a classroom's view in the content area (replacing any other) without taking ownership.
    void setRoomView(QWidget* view);
    // Takes the view out of the window again; the owner deletes it.
    void removeRoomView();
    QWidget* roomView() const { return roomView_; }

    void centreOnScreen();

private:
    WelcomeArea* welcome_;
    MainMenu* menu_;
    QPointer<QWidget> roomView_;
};

}  // namespace veltrin
