// The real Wordlark.dll: its installation block read at the program's byte
// offsets, and whole queries through the hook, the area and the event to the
// program's reader. A query from inside another application is run end to end.
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "bridge/interchange.h"
#include "bridge/query_reader.h"
#include "hook/install_params.h"
#include "platform/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using platform::win32::AsWide;
using platform::win32::UniqueHandle;

Text OwnFolder() {
    wchar_t own[MAX_PATH] = {};
    const Text path = platform::win32::FromWide(own, GetModuleFileNameW(nullptr, own, MAX_PATH));
    return path.substr(0, path.rfind(u'\\') + 1);
}

// Where the build leaves the library: its distribution folder below the tests.
HMODULE Library() {
    static HMODULE library = LoadLibraryW(AsWide(OwnFolder() + u"dist\\Wordlark.dll"));
    return library;
}

// Through the generic function type, which any function type may be cast to.
template <typename Function>
Function Export(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(Library(), name)));
}
int Install(void* block) {
    auto install = Export<int (*)(void*)>("LK_Install");
    return install ? install(block) : -1;
}
INT_PTR Call(const char* name) {
    auto function = Export<INT_PTR (*)()>(name);
    return function ? function() : -1;
}

// The block as the program lays it out, with a result code to be overwritten.
struct RawBlock {
    RawBlock(const wchar_t* query, const wchar_t* answer, const wchar_t* area) {
        Put<uint32_t>(8, RegisterWindowMessageW(L"wlk-test-hook-request"));
        Put(16, reinterpret_cast<uint64_t>(query));
        Put(24, reinterpret_cast<uint64_t>(answer));
        Put(32, reinterpret_cast<uint64_t>(area));
        Put<uint32_t>(48, 0xDDDDDDDD);
    }
    template <typename T>
    void Put(size_t offset, T value) {
        std::memcpy(bytes.data() + offset, &value, sizeof value);
    }
    uint32_t ResultCode() const { return *reinterpret_cast<const uint32_t*>(bytes.data() + 48); }
    std::vector<uint8_t> bytes = std::vector<uint8_t>(62, 0);
};

TEST(HookLibraryTest, InstallTakesTheBlockAtItsOffsetsAndReportsItsResult) {
    ASSERT_NE(Library(), nullptr) << "Wordlark.dll not found below the tests";
    const std::wstring overlong(260, L'n'), longest(259, L'n');
    for (RawBlock block : {RawBlock(nullptr, L"a", L"m"), RawBlock(L"q", L"", L"m"),
                           RawBlock(L"q", L"a", overlong.c_str())}) {
        EXPECT_EQ(Install(block.bytes.data()), 0);
        EXPECT_EQ(block.ResultCode(), 1u) << "invalid names of sync objects";
    }
    EXPECT_EQ(Call("LK_Uninstall"), 0) << "nothing was installed";

    RawBlock block(L"q", L"a", longest.c_str());
    EXPECT_NE(Install(block.bytes.data()), 0);
    EXPECT_EQ(block.ResultCode(), 0u);
    block.Put<uint32_t>(48, 0xDDDDDDDD);
    EXPECT_NE(Install(block.bytes.data()), 0) << "a second installation takes the new block";
    EXPECT_EQ(block.ResultCode(), 0u);
    EXPECT_NE(Call("LK_Uninstall"), 0);
    EXPECT_EQ(Call("LK_Uninstall"), 0) << "already removed";
}

platform::WindowId Id(HWND window) {
    return static_cast<platform::WindowId>(
        static_cast<intptr_t>(static_cast<int32_t>(reinterpret_cast<intptr_t>(window))));
}

// Test-only names, so that nothing meets a running program's objects.
class HookQueryTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_NE(Library(), nullptr) << "Wordlark.dll not found below the tests";
        host_ = CreateWindowExW(0, L"STATIC", L"wlk hook host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                40, 40, 400, 200, nullptr, nullptr, nullptr, nullptr);
        edit_ = CreateWindowExW(0, L"EDIT", L"hello \u043C\u0438\u0440 & <world>",
                                WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 30, host_, nullptr,
                                nullptr, nullptr);
        ASSERT_TRUE(host_ && edit_);
        area_.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                       bridge::kInterchangeAreaSize, AsWide(areaName_)));
        queryEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, AsWide(queryName_)));
        ASSERT_TRUE(area_ && queryEvent_);
        hook::InstallParams params;
        params.queryRequestMessage = request_;
        params.queryEventName = reinterpret_cast<uintptr_t>(queryName_.c_str());
        params.answerEventName = reinterpret_cast<uintptr_t>(u"Local\\wlk-test-hook-answer");
        params.areaName = reinterpret_cast<uintptr_t>(areaName_.c_str());
        ASSERT_NE(Install(&params), 0);
        ASSERT_EQ(params.resultCode, 0u);
    }
    void TearDown() override {
        Call("LK_Uninstall");
        DestroyWindow(host_);
        PlatformTest::TearDown();
    }

    // Posts the request to `window` and runs this thread's messages until the
    // query event is set; the query the program's reader makes of the area.
    bridge::TargetContext Query(HWND window) {
        ResetEvent(queryEvent_.Get());
        PostMessageW(window, request_, 0, 0);
        const bool set = WaitUntil(
            [&] {
                for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
                    DispatchMessageW(&message);
                return WaitForSingleObject(queryEvent_.Get(), 0) == WAIT_OBJECT_0;
            },
            10000);
        EXPECT_TRUE(set) << "no query event";
        bridge::TargetContext context;
        EXPECT_TRUE(bridge::ReadQuery(areaName_, context));
        return context;
    }

    const Text suffix_ = ToText(GetCurrentProcessId());
    const Text areaName_ = u"Local\\wlk-test-hook-area-" + suffix_;
    const Text queryName_ = u"Local\\wlk-test-hook-query-" + suffix_;
    const UINT request_ = RegisterWindowMessageW(AsWide(Text(hook::kQueryRequestMessageName)));
    HWND host_ = nullptr;
    HWND edit_ = nullptr;
    UniqueHandle area_, queryEvent_;
};

TEST_F(HookQueryTest, QueryCarriesTheFocusWindowItsSelectionAndLayout) {
    SetForegroundWindow(host_);
    SetFocus(edit_);
    ASSERT_EQ(GetFocus(), edit_);
    EXPECT_EQ(Call("LK_GetTargetWindow"), reinterpret_cast<INT_PTR>(edit_));
    EXPECT_EQ(Call("LK_GetTargetWindowOther"), 0) << "no window of another process was active";

    SendMessageW(edit_, EM_SETSEL, 6, 9);
    bridge::TargetContext c = Query(edit_);
    EXPECT_TRUE(EqualsIgnoreCase(c.AppPath, OwnFolder() + u"wlk_wine_tests.exe"))
        << ToUtf8(c.AppPath);
    EXPECT_EQ(std::tie(c.WindowClassName, c.HWND, c.guiThread.HWND_Focus, c.guiThread.HWND_Active,
                       c.guiThread.HWND_Caret, c.HKL, c.SelText, c.StateSelText),
              std::tuple(Text(u"Edit"), Id(edit_), Id(edit_), Id(host_), Id(edit_),
                         static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetKeyboardLayout(0))),
                         Text(u"\u043C\u0438\u0440"), 2));
    RECT edit{};
    GetWindowRect(edit_, &edit);
    EXPECT_TRUE(c.POINT_X >= edit.left && c.POINT_X <= edit.right && c.POINT_Y >= edit.top &&
                c.POINT_Y <= edit.bottom)
        << "caret at " << c.POINT_X << "," << c.POINT_Y;

    SendMessageW(edit_, EM_SETSEL, 3, 3);
    c = Query(edit_);
    EXPECT_EQ(std::tie(c.SelText, c.StateSelText), std::tuple(Text(), 0));
    // Any other window leaves the selection to the program's simulated copy.
    SetFocus(host_);
    c = Query(host_);
    EXPECT_EQ(std::tie(c.WindowClassName, c.HWND, c.SelText, c.StateSelText),
              std::tuple(Text(u"Static"), Id(host_), Text(), 1));

    // A password box, or a window that marks itself, gives no selection to
    // the hook nor to the program's simulated copy.
    SetFocus(edit_);
    SendMessageW(edit_, EM_SETPASSWORDCHAR, L'*', 0);
    SendMessageW(edit_, EM_SETSEL, 0, 5);
    c = Query(edit_);
    EXPECT_EQ(std::tie(c.SelText, c.StateSelText), std::tuple(Text(), 3));
    EXPECT_TRUE(P().targets.HoldsSecret(Id(host_))) << "its focus window is a password box";
    SendMessageW(edit_, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_FALSE(P().targets.HoldsSecret(Id(host_)));
    SetPropW(host_, L"Wordlark_Secret", HANDLE(1));
    c = Query(edit_);
    EXPECT_EQ(std::tie(c.SelText, c.StateSelText), std::tuple(Text(), 3));
    EXPECT_TRUE(P().targets.HoldsSecret(Id(edit_)));
    RemovePropW(host_, L"Wordlark_Secret");
}

}  // namespace
}  // namespace wlk::test
