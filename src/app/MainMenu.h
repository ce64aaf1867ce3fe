#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;

namespace veltrin {

// The main menu: File (with Share and Connection Speed), Whiteboard, Actions, Audio, Video and
// Help. Every item carries its tag (MenuTag) in QAction::data(); items are validated by tag just
// before their menu opens and reported by tag when chosen.
class MainMenu : public QObject {
    Q_OBJECT
public:
    using Validator = std::function<bool(int tag, const QString& title)>;

    struct ConnectionSpeed {
        int bytesPerSecond;  // the item's tag; 0 is unthrottled
        const char* title;
    };
    static const std::vector<ConnectionSpeed>& connectionSpeeds();

    explicit MainMenu(QMenuBar& bar, QObject* parent = nullptr);

    void setValidator(Validator validator) { validator_ = std::move(validator); }
    // Runs the validator over the items of one menu (done automatically when a menu opens).
    void validate(QMenu& menu);

    // Shows or hides the nine items that only make sense around a live session: Reconnect, Save and
    // Clear text messages with their separator, Share, Whiteboard, Actions, Audio and Video.
    void setSessionItemsVisible(bool visible);
    const QList<QAction*>& sessionItems() const { return sessionItems_; }

    QAction& reconnectAction() { return *reconnect_; }
    QAction* actionForTag(int tag) const;  // tags other than 0 are unique
    QList<QMenu*> menus() const { return menus_; }

    // Checks the item of that byte rate alone (none when no item has it).
    void checkConnectionSpeed(int bytesPerSecond);
    int checkedConnectionSpeed() const;  // -1 when none is checked

    // The tag an item carries, or nothing for separators and submenus.
    static std::optional<int> tagOf(const QAction& action);

signals:
    void classroomCommand(int tag);
    void reconnectRequested();
    void settingsRequested(int tag);
    void connectionSpeedChosen(int bytesPerSecond);
    void aboutRequested();
    void helpRequested();
    void quitRequested();

private:
    QMenu* addMenu(QMenuBar& bar, const QString& title);
    QAction* addItem(QMenu& menu, const QString& title, int tag);
    QAction* addClassroomItem(QMenu& menu, const QString& title, int tag);
    void buildFileMenu(QMenuBar& bar);
    void buildWhiteboardMenu(QMenuBar& bar);
    void buildActionsMenu(QMenuBar& bar);
    void buildAudioMenu(QMenuBar& bar);
    void buildVideoMenu(QMenuBar& bar);
    void buildHelpMenu(QMenuBar& bar);

    Validator validator_;
    QList<QMenu*> menus_;
    QList<QAction*> sessionItems_;
    QAction* reconnect_ = nullptr;
    QActionGroup* speeds_ = nullptr;
};

}  // namespace veltrin
