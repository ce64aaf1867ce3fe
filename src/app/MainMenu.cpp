#include "app/MainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/core/MenuRules.h"

namespace veltrin {

const std::vector<MainMenu::ConnectionSpeed>& MainMenu::connectionSpeeds() {
    // Byte rates of common upload speeds. Every tag is 0 or above 1000, so the items are always
    // enabled.
    static const std::vector<ConnectionSpeed> speeds{
        {0, "Unlimited"},
        {16000, "128 kbit/s"},
        {32000, "256 kbit/s"},
        {64000, "512 kbit/s"},
        {128000, "1 Mbit/s"},
        {256000, "2 Mbit/s"},
    };
    return speeds;
}

MainMenu::MainMenu(QMenuBar& bar, QObject* parent) : QObject(parent) {
    bar.setAccessibleName(QStringLiteral("Main menu"));
    buildFileMenu(bar);
    buildWhiteboardMenu(bar);
    buildActionsMenu(bar);
    buildAudioMenu(bar);
    buildVideoMenu(bar);
    buildHelpMenu(bar);
}

std::optional<int> MainMenu::tagOf(const QAction& action) {
    if (action.isSeparator() || action.menu() != nullptr || !action.data().isValid()) return std::nullopt;
    return action.data().toInt();
}

QMenu* MainMenu::addMenu(QMenuBar& bar, const QString& title) {
    QMenu* menu = bar.addMenu(title);
    menus_ << menu;
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { validate(*menu); });
    return menu;
}

QAction* MainMenu::addItem(QMenu& menu, const QString& title, int tag) {
    QAction* action = menu.addAction(title);
    action->setData(tag);
    return action;
}

QAction* MainMenu::addClassroomItem(QMenu& menu, const QString& title, int tag) {
    QAction* action = addItem(menu, title, tag);
    connect(action, &QAction::triggered, this, [this, tag] { emit classroomCommand(tag); });
    return action;
}

void MainMenu::buildFileMenu(QMenuBar& bar) {
    QMenu& file = *addMenu(bar, QStringLiteral("&File"));
    reconnect_ = addItem(file, QStringLiteral("&Reconnect"), MenuTag::Reconnect);
    connect(reconnect_, &QAction::triggered, this, &MainMenu::reconnectRequested);
    QAction* save = addClassroomItem(file, QStringLiteral("&Save Text Messages..."), MenuTag::SaveTextMessages);
    QAction* clear = addClassroomItem(file, QStringLiteral("C&lear Text Messages"), MenuTag::ClearTextMessages);
    QAction* separator = file.addSeparator();

    QMenu* share = file.addMenu(QStringLiteral("S&hare"));
    menus_ << share;
    connect(share, &QMenu::aboutToShow, this, [this, share] { validate(*share); });
    addClassroomItem(*share, QStringLiteral("&Presentations"), MenuTag::SharePresentations);
    addClassroomItem(*share, QStringLiteral("&Screen"), MenuTag::ShareScreen);
    addClassroomItem(*share, QStringLiteral("&Web Tour"), MenuTag::ShareWebTour);
    addClassroomItem(*share, QStringLiteral("Resource &Library"), MenuTag::ShareResourceLibrary);

    addClassroomItem(file, QStringLiteral("&Export Current Whiteboard..."), MenuTag::ExportCurrentWhiteboard);
    addClassroomItem(file, QStringLiteral("Export &All Whiteboards..."), MenuTag::ExportAllWhiteboards);
    addClassroomItem(file, QStringLiteral("&Upload Current Whiteboard to Presentations"),
                     MenuTag::UploadBoardToPresentations);
    file.addSeparator();

    QMenu* speedMenu = file.addMenu(QStringLiteral("Connection S&peed"));
    menus_ << speedMenu;
    connect(speedMenu, &QMenu::aboutToShow, this, [this, speedMenu] { validate(*speedMenu); });
    speeds_ = new QActionGroup(this);
    speeds_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const ConnectionSpeed& speed : connectionSpeeds()) {
        QAction* item = addItem(*speedMenu, QString::fromLatin1(speed.title), speed.bytesPerSecond);
        item->setCheckable(true);
        speeds_->addAction(item);
        const int rate = speed.bytesPerSecond;
        connect(item, &QAction::triggered, this, [this, rate] { emit connectionSpeedChosen(rate); });
    }

    QAction* settings = addItem(file, QStringLiteral("Se&ttings..."), MenuTag::Settings);
    settings->setShortcut(QKeySequence::Preferences);
    connect(settings, &QAction::triggered, this, [this] { emit settingsRequested(MenuTag::Settings); });
    file.addSeparator();
    QAction* quit = addItem(file, QStringLiteral("&Quit"), 0);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &MainMenu::quitRequested);

    sessionItems_ << reconnect_ << save << clear << separator << share->menuAction();
}

void MainMenu::buildWhiteboardMenu(QMenuBar& bar) {
    QMenu& board = *addMenu(bar, QStringLiteral("&Whiteboard"));
    addClassroomItem(board, QStringLiteral("&New Whiteboard"), MenuTag::NewWhiteboard);
    addClassroomItem(board, QStringLiteral("&Remove Whiteboard"), MenuTag::RemoveWhiteboard);
    addClassroomItem(board, QStringLiteral("Remove &All Whiteboards"), MenuTag::RemoveAllWhiteboards);
    board.addSeparator();
    addClassroomItem(board, QStringLiteral("Remove &Markup"), MenuTag::RemoveMarkup);
    addClassroomItem(board, QStringLiteral("&Show or Hide Markup"), MenuTag::ToggleMarkup);
    board.addSeparator();
    addClassroomItem(board, QStringLiteral("&Give Whiteboard Access to All"), MenuTag::GiveBoardAccessToAll);
    addClassroomItem(board, QStringLiteral("&Take Whiteboard Access from All"), MenuTag::TakeBoardAccessFromAll);
    board.addSeparator();
    addClassroomItem(board, QStringLiteral("Actual Si&ze"), MenuTag::ScaleNone);
    addClassroomItem(board, QStringLiteral("Fit &Width"), MenuTag::ScaleFitWidth);
    addClassroomItem(board, QStringLiteral("&Fit All"), MenuTag::ScaleFitAll);
    sessionItems_ << board.menuAction();
}

void MainMenu::buildActionsMenu(QMenuBar& bar) {
    QMenu& actions = *addMenu(bar, QStringLiteral("&Actions"));
    addClassroomItem(actions, QStringLiteral("Raise &Hand"), MenuTag::MotionHand);
    addClassroomItem(actions, QStringLiteral("&Smile"), MenuTag::MotionSmile);
    addClassroomItem(actions, QStringLiteral("&Applause"), MenuTag::MotionClap);
    addClassroomItem(actions, QStringLiteral("&Yes"), MenuTag::MotionYes);
    addClassroomItem(actions, QStringLiteral("&No"), MenuTag::MotionNo);
    actions.addSeparator();
    addClassroomItem(actions, QStringLiteral("&Clear All Motions"), MenuTag::ClearMotions);
    actions.addSeparator();
    addClassroomItem(actions, QStringLiteral("&Ping Participants with Sound"), MenuTag::PingWithSound);
    addClassroomItem(actions, QStringLiteral("Ping Participants &Silently"), MenuTag::PingSilent);
    sessionItems_ << actions.menuAction();
}

void MainMenu::buildAudioMenu(QMenuBar& bar) {
    QMenu& audio = *addMenu(bar, QStringLiteral("A&udio"));
    addClassroomItem(audio, QStringLiteral("Audio &Test..."), MenuTag::AudioTest);
    for (const auto& [title, tag] : {std::pair{QStringLiteral("Audio &Settings..."), MenuTag::AudioSettings},
                                     std::pair{QStringLiteral("&Classroom Settings..."), MenuTag::ClassroomSettings}}) {
        QAction* item = addItem(audio, title, tag);
        connect(item, &QAction::triggered, this, [this, tag = tag] { emit settingsRequested(tag); });
    }
    audio.addSeparator();
    addClassroomItem(audio, QStringLiteral("&Give Microphone to All"), MenuTag::MicrophoneToAll);
    addClassroomItem(audio, QStringLiteral("T&ake Microphone from All"), MenuTag::MicrophoneFromAll);
    audio.addSeparator();
    addClassroomItem(audio, QStringLiteral("&Reconnect Audio"), MenuTag::ReconnectAudio);
    sessionItems_ << audio.menuAction();
}

void MainMenu::buildVideoMenu(QMenuBar& bar) {
    QMenu& video = *addMenu(bar, QStringLiteral("&Video"));
    addClassroomItem(video, QStringLiteral("&Start My Webcam"), MenuTag::StartMyWebcam);
    QAction* settings = addItem(video, QStringLiteral("Video &Settings..."), MenuTag::VideoSettings);
    connect(settings, &QAction::triggered, this, [this] { emit settingsRequested(MenuTag::VideoSettings); });
    sessionItems_ << video.menuAction();
}

void MainMenu::buildHelpMenu(QMenuBar& bar) {
    QMenu& help = *addMenu(bar, QStringLiteral("&Help"));
    QAction* support = addItem(help, QStringLiteral("Veltrin &Help"), 0);
    support->setShortcut(QKeySequence::HelpContents);
    connect(support, &QAction::triggered, this, &MainMenu::helpRequested);
    help.addSeparator();
    QAction* about = addItem(help, QStringLiteral("&About Veltrin"), 0);
    connect(about, &QAction::triggered, this, &MainMenu::aboutRequested);
}

void MainMenu::validate(QMenu& menu) {
    if (!validator_) return;
    for (QAction* action : menu.actions()) {
        const std::optional<int> tag = tagOf(*action);
        if (!tag) continue;
        action->setEnabled(validator_(*tag, action->text().remove(u'&')));
    }
}

void MainMenu::setSessionItemsVisible(bool visible) {
    for (QAction* item : sessionItems_) item->setVisible(visible);
}

QAction* MainMenu::actionForTag(int tag) const {
    for (const QMenu* menu : menus_) {
        for (QAction* action : menu->actions()) {
            if (tagOf(*action) == tag) return action;
        }
    }
    return nullptr;
}

void MainMenu::checkConnectionSpeed(int bytesPerSecond) {
    for (QAction* item : speeds_->actions()) item->setChecked(item->data().toInt() == bytesPerSecond);
}

int MainMenu::checkedConnectionSpeed() const {
    const QAction* checked = speeds_->checkedAction();
    return checked != nullptr ? checked->data().toInt() : -1;
}

}  // namespace veltrin
