// The real Wordlark.dll inside the test process: its installation block read
// byte by byte at the program's offsets, and a whole query from an edit
// control through the hook, the area and the event to the program's reader.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
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

using InstallFunction = int (*)(void*);
using PlainFunction = INT_PTR (*)();

// The library as the build leaves it: in the distribution folder below the
// tests, or beside them.
HMODULE Library() {
    static HMODULE library = [] {
        wchar_t own[MAX_PATH] = {};
        std::wstring folder(own, GetModuleFileNameW(nullptr, own, MAX_PATH));
        folder.resize(folder.rfind(L'\\') + 1);
        HMODULE loaded = LoadLibraryW((folder + L"dist\\Wordlark.dll").c_str());
        return loaded ? loaded : LoadLibraryW((folder + L"Wordlark.dll").c_str());
    }();
    return library;
}

template <typename Function>
Function Export(const char* name) {
    // Through the generic function type, which any function type may be cast from.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(Library(), name)));
}

int Install(void* block) {
    auto install = Export<InstallFunction>("LK_Install");
    return install ? install(block) : -1;
}

INT_PTR Call(const char* name) {
    auto function = Export<PlainFunction>(name);
    return function ? function() : -1;
}

template <typename T>
void Put(std::vector<uint8_t>& block, size_t offset, T value) {
    std::memcpy(block.data() + offset, &value, sizeof value);
}

uint32_t ResultCode(const std::vector<uint8_t>& block) {
    uint32_t code = 0;
    std::memcpy(&code, block.data() + 48, sizeof code);
    return code;
}

// The block at the offsets the program writes it, with a result code that
// the library must overwrite.
std::vector<uint8_t> RawBlock(const wchar_t* query, const wchar_t* answer, const wchar_t* area) {
    std::vector<uint8_t> block(62, 0);
    Put<uint64_t>(block, 0, 0x10020);
    Put<uint32_t>(block, 8, RegisterWindowMessageW(L"wlk-test-hook-request"));
    Put<uint64_t>(block, 16, reinterpret_cast<uintptr_t>(query));
    Put<uint64_t>(block, 24, reinterpret_cast<uintptr_t>(answer));
    Put<uint64_t>(block, 32, reinterpret_cast<uintptr_t>(area));
    Put<uint32_t>(block, 48, 0xDDDDDDDD);
    return block;
}

TEST(HookLibraryTest, InstallTakesTheBlockAtItsOffsetsAndReportsItsResult) {
    ASSERT_NE(Library(), nullptr) << "Wordlark.dll not found beside the tests";
    const std::wstring overlong(260, L'n'), longest(259, L'n');
    struct Case {
        const wchar_t* query;
        const wchar_t* answer;
        const wchar_t* area;
    };
    for (const Case& c : {Case{nullptr, L"a", L"m"}, Case{L"q", L"", L"m"},
                          Case{L"q", L"a", overlong.c_str()}}) {
        auto block = RawBlock(c.query, c.answer, c.area);
        EXPECT_EQ(Install(block.data()), 0);
        EXPECT_EQ(ResultCode(block), 1u) << "invalid names of sync objects";
    }
    EXPECT_EQ(Call("LK_Uninstall"), 0) << "nothing was installed";

    auto block = RawBlock(L"q", L"a", longest.c_str());
    EXPECT_NE(Install(block.data()), 0);
    EXPECT_EQ(ResultCode(block), 0u);
    Put<uint32_t>(block, 48, 0xDDDDDDDD);
    EXPECT_NE(Install(block.data()), 0) << "a second installation takes the new block";
    EXPECT_EQ(ResultCode(block), 0u);
    EXPECT_NE(Call("LK_Uninstall"), 0);
    EXPECT_EQ(Call("LK_Uninstall"), 0) << "already removed";
}

// Test-only names, so that nothing meets a running program's objects.
class HookQueryTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_NE(Library(), nullptr) << "Wordlark.dll not found beside the tests";
        const std::wstring suffix = std::to_wstring(GetCurrentProcessId());
        areaName_ = L"Local\\wlk-test-hook-area-" + suffix;
        queryName_ = L"Local\\wlk-test-hook-query-" + suffix;
        answerName_ = L"Local\\wlk-test-hook-answer-" + suffix;
        request_ = RegisterWindowMessageW(AsWide(Text(hook::kQueryRequestMessageName)));
        host_ = CreateWindowExW(0, L"STATIC", L"wlk hook host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                40, 40, 400, 200, nullptr, nullptr, nullptr, nullptr);
        edit_ = CreateWindowExW(0, L"EDIT", L"hello \u043C\u0438\u0440 & <world>",
                                WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 30, host_, nullptr,
                                nullptr, nullptr);
        ASSERT_TRUE(host_ && edit_);
    }
    void TearDown() override {
        Call("LK_Uninstall");
        DestroyWindow(host_);
        PlatformTest::TearDown();
    }

    void CreateArea() {
        area_.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                       bridge::kInterchangeAreaSize, areaName_.c_str()));
        ASSERT_TRUE(area_);
    }
    void CreateQueryEvent() {
        queryEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, queryName_.c_str()));
        ASSERT_TRUE(queryEvent_);
    }
    void InstallHook() {
        hook::InstallParams params;
        params.queryRequestMessage = request_;
        params.queryEventName = reinterpret_cast<uintptr_t>(queryName_.c_str());
        params.answerEventName = reinterpret_cast<uintptr_t>(answerName_.c_str());
        params.areaName = reinterpret_cast<uintptr_t>(areaName_.c_str());
        ASSERT_NE(Install(&params), 0);
        ASSERT_EQ(params.resultCode, 0u);
    }
    bool QuerySet() const {
        return queryEvent_ && WaitForSingleObject(queryEvent_.Get(), 0) == WAIT_OBJECT_0;
    }

    // Posts the request and, after it, a marker; runs this thread's messages
    // until `done` holds, or until the marker came when `done` is empty.
    bool Request(HWND window, const std::function<bool()>& done = nullptr) {
        constexpr UINT kMarker = WM_APP + 77;
        PostMessageW(window, request_, 0, 0);
        PostMessageW(window, kMarker, 0, 0);
        bool markerSeen = false;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 10000) {
            if (done ? done() : markerSeen) return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                markerSeen = markerSeen || message.message == kMarker;
                DispatchMessageW(&message);
            }
        }
        return false;
    }

    bridge::TargetContext Query(HWND window) {
        ResetEvent(queryEvent_.Get());
        EXPECT_TRUE(Request(window, [this] { return QuerySet(); })) << "the query event was not set";
        bridge::TargetContext context;
        EXPECT_TRUE(bridge::ReadQuery(platform::win32::FromWide(areaName_.c_str(), areaName_.size()),
                                      context));
        return context;
    }
    std::string AreaStart() {
        UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, areaName_.c_str()));
        platform::win32::UniqueView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 16));
        return view ? std::string(static_cast<const char*>(view.Get()), 16) : "<none>";
    }

    std::wstring areaName_, queryName_, answerName_;
    UINT request_ = 0;
    HWND host_ = nullptr;
    HWND edit_ = nullptr;
    UniqueHandle area_, queryEvent_;
};

platform::WindowId Id(HWND window) {
    return static_cast<platform::WindowId>(
        static_cast<intptr_t>(static_cast<int32_t>(reinterpret_cast<intptr_t>(window))));
}

TEST_F(HookQueryTest, QueryCarriesTheFocusWindowItsSelectionAndLayout) {
    CreateArea();
    CreateQueryEvent();
    InstallHook();
    SetForegroundWindow(host_);
    SetFocus(edit_);
    ASSERT_EQ(GetFocus(), edit_);
    EXPECT_EQ(Call("LK_GetTargetWindow"), reinterpret_cast<INT_PTR>(edit_));
    EXPECT_EQ(Call("LK_GetTargetWindowOther"), 0) << "no window of another process was active";

    SendMessageW(edit_, EM_SETSEL, 6, 9);
    bridge::TargetContext c = Query(edit_);
    const Text exe = u"\\wlk_wine_tests.exe";
    EXPECT_TRUE(c.AppPath.size() > exe.size() &&
                EqualsIgnoreCase(c.AppPath.substr(c.AppPath.size() - exe.size()), exe))
        << ToUtf8(c.AppPath);
    EXPECT_EQ(c.WindowClassName, u"Edit");
    EXPECT_EQ(c.HWND, Id(edit_));
    EXPECT_EQ(c.guiThread.HWND_Focus, Id(edit_));
    EXPECT_EQ(c.guiThread.HWND_Active, Id(host_));
    EXPECT_EQ(c.guiThread.HWND_Caret, Id(edit_));
    EXPECT_EQ(c.HKL, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetKeyboardLayout(0))));
    EXPECT_EQ(c.SelText, u"\u043C\u0438\u0440");
    EXPECT_EQ(c.StateSelText, 2);
    RECT edit{};
    GetWindowRect(edit_, &edit);
    EXPECT_TRUE(c.POINT_X >= edit.left && c.POINT_X <= edit.right && c.POINT_Y >= edit.top &&
                c.POINT_Y <= edit.bottom)
        << "caret at " << c.POINT_X << "," << c.POINT_Y;

    SendMessageW(edit_, EM_SETSEL, 10, -1);
    c = Query(edit_);
    EXPECT_EQ(c.SelText, u"& <world>");
    EXPECT_EQ(c.StateSelText, 2);

    SendMessageW(edit_, EM_SETSEL, 3, 3);
    c = Query(edit_);
    EXPECT_EQ(c.SelText, u"");
    EXPECT_EQ(c.StateSelText, 0);

    // Any other window leaves the selection to the program's simulated copy.
    SetFocus(host_);
    c = Query(host_);
    EXPECT_EQ(c.WindowClassName, u"Static");
    EXPECT_EQ(c.HWND, Id(host_));
    EXPECT_EQ(c.SelText, u"");
    EXPECT_EQ(c.StateSelText, 1);

    // Round trip from the post to the event, for the notes.
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        LARGE_INTEGER frequency, begin, end;
        QueryPerformanceFrequency(&frequency);
        ResetEvent(queryEvent_.Get());
        QueryPerformanceCounter(&begin);
        ASSERT_TRUE(Request(edit_, [this] { return QuerySet(); }));
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * double(end.QuadPart - begin.QuadPart) / double(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    std::printf("hook query round trip: median %.3f ms of 20\n", (times[9] + times[10]) / 2);
}

// The library loaded into another application finds the names in the state
// that every copy of it shares.
TEST_F(HookQueryTest, QueryComesFromAnotherApplication) {
    CreateArea();
    CreateQueryEvent();
    InstallHook();
    const std::wstring readyName = L"Local\\wlk-test-hook-ready-" + std::to_wstring(GetCurrentProcessId());
    UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    wchar_t own[MAX_PATH] = {};
    std::wstring command(own, GetModuleFileNameW(nullptr, own, MAX_PATH));
    command = L"\"" + command.substr(0, command.rfind(L'\\') + 1) + L"wlk_hook_target.exe\" " + readyName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &started));
    CloseHandle(started.hThread);
    UniqueHandle target(started.hProcess);
    ASSERT_EQ(WaitForSingleObject(ready.Get(), 30000), WAIT_OBJECT_0);
    const HWND host = FindWindowW(nullptr, L"wlk hook target");
    const HWND edit = FindWindowExW(host, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(host && edit);

    PostMessageW(edit, request_, 0, 0);
    ASSERT_EQ(WaitForSingleObject(queryEvent_.Get(), 10000), WAIT_OBJECT_0);
    bridge::TargetContext c;
    ASSERT_TRUE(bridge::ReadQuery(platform::win32::FromWide(areaName_.c_str(), areaName_.size()), c));
    const Text exe = u"\\wlk_hook_target.exe";
    EXPECT_TRUE(c.AppPath.size() > exe.size() &&
                EqualsIgnoreCase(c.AppPath.substr(c.AppPath.size() - exe.size()), exe))
        << ToUtf8(c.AppPath);
    EXPECT_EQ(c.HWND, Id(edit));
    EXPECT_EQ(c.SelText, u"<\u0442\u0435\u043A\u0441\u0442>");
    EXPECT_EQ(c.StateSelText, 2);
    ASSERT_EQ(GetForegroundWindow(), host) << "the other application took the foreground";
    EXPECT_EQ(Call("LK_GetTargetWindow"), reinterpret_cast<INT_PTR>(edit));

    // Once the foreground is back here, the other application's window is
    // the one that had it last.
    SetForegroundWindow(host_);
    ASSERT_TRUE(Request(host_)) << "this thread's messages did not run";
    EXPECT_EQ(GetForegroundWindow(), host_);
    EXPECT_EQ(Call("LK_GetTargetWindowOther"), reinterpret_cast<INT_PTR>(host));

    PostMessageW(host, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(target.Get(), 10000), WAIT_OBJECT_0);
}

TEST_F(HookQueryTest, WithoutTheAreaOrTheEventNothingIsWritten) {
    InstallHook();
    SetFocus(edit_);
    SendMessageW(edit_, EM_SETSEL, 0, 5);

    CreateQueryEvent();
    ASSERT_TRUE(Request(edit_)) << "the request was not handled";
    EXPECT_FALSE(QuerySet()) << "no area to write into";

    queryEvent_.Reset();
    CreateArea();
    ASSERT_TRUE(Request(edit_)) << "the request was not handled";
    EXPECT_EQ(AreaStart(), std::string(16, '\0')) << "no event to tell the program";

    // Both there: the same request gets through.
    CreateQueryEvent();
    ASSERT_TRUE(Request(edit_, [this] { return QuerySet(); }));
    EXPECT_EQ(AreaStart().substr(0, 5), "<?xml");
}

}  // namespace
}  // namespace wlk::test
