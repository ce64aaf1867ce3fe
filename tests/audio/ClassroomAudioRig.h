#pragma once

// Real classroom controllers in one process, each on its own paced file-backed sound device
// (tests/fixtures/alsa/paced.conf.in), in one room of the reference server.

#include <QToolButton>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "audio/PortAudioSystem.h"
#include "classroom/ClassroomViewController.h"
#include "classroom/MainLink.h"
#include "tests/classroom/FakeShell.h"
#include "tests/support/ServerProcess.h"

namespace veltrin::audio::test {

// ALSA reads its configuration once per process: call before anything opens a sound device. Also
// holds PortAudio initialised for the rest of the process, as the application does, so that
// devices come and go without the device list being built again.
inline std::string setUpPacedAlsa(const char* configPath) {
    char dirTemplate[] = "/tmp/veltrin-paced-XXXXXX";
    const std::string dir = ::mkdtemp(dirTemplate);
    const std::string config = std::string("/usr/share/alsa/alsa.conf:") + configPath;
    ::setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    ::setenv("VELTRIN_ALSA_DIR", dir.c_str(), 1);
    static PortAudioSession session;
    return dir;
}

// The device index PortAudio gives a named device now, -1 when there is none.
inline int deviceIndex(const std::string& name) {
    std::vector<AudioDeviceEntry> entries;
    EnumAudioDevices(entries, true, false, false);
    for (const AudioDeviceEntry& e : entries)
        if (e.title == name) return e.tag;
    return -1;
}

struct RigParticipant {
    testing::FakeShell shell;
    std::unique_ptr<ClassroomViewController> controller;
    ClassroomViewController& c() { return *controller; }
    bool audioUp() {
        AudioFeature& a = c().audio();
        return !a.isConnecting() && a.audioState() == 0 && a.connector() && a.connector()->ACMInStatus() &&
               a.connector()->ACMOutStatus();
    }
};

// Joins `user` (password = user name) on `device` for both directions.
inline std::unique_ptr<RigParticipant> joinOnDevice(testing::ServerProcess& server, const char* user,
                                                    const std::string& device) {
    auto p = std::make_unique<RigParticipant>();
    SessionParameters& s = p->shell.session;
    s.Host = QStringLiteral("127.0.0.1");
    s.Port1 = server.port();
    s.Port2 = s.Port3 = testing::closedPort();
    s.UserName = s.Password = QString::fromLatin1(user);
    s.RoomID = 1001;
    const int index = deviceIndex(device);
    DefaultFlags& f = p->shell.settings;
    f.setDefAudioInputDeviceId(index);
    f.setDefAudioInputDeviceName(QString::fromStdString(device));
    f.setDefAudioOutputDeviceId(index);
    f.setDefAudioOutputDeviceName(QString::fromStdString(device));
    p->controller = std::make_unique<ClassroomViewController>(p->shell.context());
    p->controller->Connect();
    return p;
}

inline void leave(std::unique_ptr<RigParticipant>& p) {
    p->controller.reset();
    waitForRetiredLinks(10000);
    waitForAudioThreads(10000);
}

}  // namespace veltrin::audio::test
