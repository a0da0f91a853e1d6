// Native tests that read what the code under test logged.
#pragma once

#include <functional>
#include <string>

#include "log/event_log.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {

// A platform test whose log is closed when it ends.
class LoggedTest : public PlatformTest {
protected:
    void TearDown() override {
        log::EventLog::Instance().Close();
        PlatformTest::TearDown();
    }
    // Opens the log and gives back a reader of what reached it once every
    // writer and worker thread has ended.
    std::function<std::string()> OpenLog() {
        const Text path = Path("LogReport.txt");
        EXPECT_TRUE(log::EventLog::Instance().Open(path));
        return [this, path] {
            log::EventLog::Instance().WaitForWriters(5000);
            Sim().threads.WaitIdle();
            return Utf16ToUtf8(Bytes(path));
        };
    }
};

}  // namespace wlk::test
