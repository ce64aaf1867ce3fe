#pragma once

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "app/core/Classroom.h"
#include "app/core/SessionParameters.h"

namespace veltrin::testing {

// A classroom that records what the delegate asks of it, in order, into a journal shared by every
// classroom of a test (so that the order across a replacement is visible).
class FakeClassroom final : public Classroom {
public:
    FakeClassroom(const ClassroomContext& context, std::vector<std::string>& journal, MenuContext menu)
        : mode_(context.mode), session_(context.session), delegate_(context.delegate), journal_(journal),
          menu_(menu), view_(std::make_unique<QWidget>()) {
        view_->setAccessibleName(QStringLiteral("Classroom"));
        journal_.push_back(std::string("create ") + (mode_ == ClassroomMode::Live ? "live" : "playback") +
                           " host=" + session_.Host.toStdString());
    }
    ~FakeClassroom() override { journal_.push_back("destroy"); }

    ClassroomMode mode() const override { return mode_; }
    QWidget* view() override { return view_.get(); }
    void removeAllTempFiles() override { journal_.push_back("removeAllTempFiles"); }
    void Connect() override { journal_.push_back("Connect token=" + session_.Token.toStdString()); }
    void Playback() override { journal_.push_back("Playback " + session_.PlaybackURL.toString().toStdString()); }
    void PlaybackFile(const QString& path) override { journal_.push_back("PlaybackFile " + path.toStdString()); }
    void DisconnectAndHide() override {
        // The session parameters must still be the ones this classroom connected with.
        journal_.push_back("DisconnectAndHide host=" + session_.Host.toStdString());
        delegate_.classroomRemoveView(true);
    }
    MenuContext menuContext() const override { return menu_; }
    void performMenuCommand(int tag) override { journal_.push_back("command " + std::to_string(tag)); }
    bool setConnectionSpeed(int bytesPerSecond) override {
        journal_.push_back("speed " + std::to_string(bytesPerSecond));
        return hasMainConnection;
    }

    bool hasMainConnection = false;

private:
    ClassroomMode mode_;
    SessionParameters& session_;
    ClassroomDelegate& delegate_;
    std::vector<std::string>& journal_;
    MenuContext menu_;
    std::unique_ptr<QWidget> view_;
};

}  // namespace veltrin::testing
