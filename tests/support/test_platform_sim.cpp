// The shared tests natively: a fresh simulated platform for every test.
#include <memory>

#include "platform/sim/sim_platform.h"
#include "platform/text.h"
#include "support/sim_access.h"
#include "support/test_platform.h"

namespace wlk::test {

namespace {
std::unique_ptr<platform::sim::SimPlatform> g_sim;
}

platform::sim::SimPlatform& Sim() {
    return *g_sim;
}

bool IsSimulated() {
    return true;
}

bool RunsUnderWine() {
    return false;
}

std::optional<uint32_t> EveryoneAccess(SecuredObject, const Text&) {
    return std::nullopt;
}

void PlatformTest::SetUp() {
    g_sim = std::make_unique<platform::sim::SimPlatform>();
    g_sim->Install();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = u"C:\\tests\\" + T(info->test_suite_name()) + u"." + T(info->name()) + u"\\";
    // A machine with the program installed and a user profile.
    g_sim->files.Put(g_sim->system.programPath, "MZ");
    g_sim->files.Put(g_sim->system.appData + u"\\desktop.ini", "");
    g_sim->files.Put(dir_ + u"placeholder", "");
    g_sim->files.DeleteFile(dir_ + u"placeholder");
}

void PlatformTest::TearDown() {
    g_sim->threads.WaitIdle();
}

}  // namespace wlk::test
