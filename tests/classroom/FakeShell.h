#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <vector>

#include "app/core/Classroom.h"
#include "app/core/DefaultFlags.h"
#include "app/core/SessionParameters.h"
#include "app/core/UserInterface.h"

namespace veltrin::testing {

// Records every box the classroom shows and answers them with a chosen button.
class RecordingUi final : public UserInterface {
public:
    struct Box {
        QString title;
        QString text;
        QStringList buttons;
    };
    int showMessage(const QString& title, const QString& text, const QStringList& buttons, MessageStyle) override {
        boxes.push_back({title, text, buttons});
        return answer;
    }
    std::optional<QString> selectFileToSave(const QStringList&) override { return std::nullopt; }
    void openUrl(const QUrl& url) override { urls.push_back(url); }
    void quit() override { ++quits; }

    QStringList titles() const {
        QStringList t;
        for (const Box& b : boxes) t << b.title;
        return t;
    }

    int answer = 0;
    std::vector<Box> boxes;
    std::vector<QUrl> urls;
    int quits = 0;
};

class RecordingDelegate final : public ClassroomDelegate {
public:
    void classroomConnectionStatus(int status) override { statuses.push_back(status); }
    void classroomRemoveView(bool remove) override {
        if (remove) ++removals;
    }
    std::vector<int> statuses;
    int removals = 0;
};

// Settings in a throw-away file, the session parameters and the recorders a classroom needs.
struct FakeShell {
    FakeShell() : settings(DefaultFlags::Storage{dir.filePath(QStringLiteral("settings.ini"))}) {}

    ClassroomContext context(ClassroomMode mode = ClassroomMode::Live) {
        return ClassroomContext{mode, session, settings, ui, delegate};
    }

    QTemporaryDir dir;
    DefaultFlags settings;
    SessionParameters session;
    RecordingUi ui;
    RecordingDelegate delegate;
};

}  // namespace veltrin::testing
