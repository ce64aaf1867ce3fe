#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "classroom/ClassroomViewController.h"
#include "tests/classroom/FakeShell.h"
#include "tests/support/ServerProcess.h"

namespace veltrin::testing {

// A real controller in `shell` that logs on as `user` (whose password is the same word) to the
// demo room 1001 of the reference server on `port`, and has joined when this returns (the
// expectation fails otherwise). The fallback ports are closed, so only `port` can answer.
inline std::unique_ptr<ClassroomViewController> joinDemoRoom(FakeShell& shell, int port, const char* user) {
    SessionParameters& s = shell.session;
    s.Host = QStringLiteral("127.0.0.1");
    s.Port1 = port;
    s.Port2 = s.Port3 = closedPort();
    s.UserName = s.Password = QString::fromLatin1(user);
    s.RoomID = 1001;
    auto controller = std::make_unique<ClassroomViewController>(shell.context());
    controller->Connect();
    EXPECT_TRUE(waitUntil([&] { return controller->isJoined(); }));
    return controller;
}

}  // namespace veltrin::testing
