// A query through the real Wordlark.dll inside one process: the request
// posted to an edit control, the hook writing the query text and setting the
// event, measured against a plain posted message fetched by the same thread.
// The counter "ratio" is the query's time divided by the plain message's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/bench_clock.h"
#include "bench/bench_options.h"
#include "bridge/interchange.h"
#include "hook/install_params.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace {

using namespace wlk;
using namespace wlk::bench;
using platform::win32::UniqueHandle;

constexpr UINT kPlainMessage = WM_APP + 1;
constexpr int kRounds = 1000;

// The library where the build puts it, relative to the benchmark's folder.
HMODULE Library() {
    wchar_t own[MAX_PATH] = {};
    std::wstring path(own, GetModuleFileNameW(nullptr, own, MAX_PATH));
    path.resize(path.rfind(L'\\') + 1);
    path += WLK_DIST_FROM_BUILD L"\\Wordlark.dll";
    return LoadLibraryW(path.c_str());
}

template <typename Function>
Function Export(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// Runs this thread's messages until `message` was fetched or `event` is set;
// false when neither happened within a generous limit.
bool RunUntil(UINT message, HANDLE event) {
    constexpr DWORD kLimitMs = 5000;
    for (;;) {
        const DWORD woke =
            MsgWaitForMultipleObjects(event ? 1 : 0, &event, FALSE, kLimitMs, QS_ALLINPUT);
        if (woke == WAIT_TIMEOUT || woke == WAIT_FAILED) return false;
        MSG fetched;
        while (PeekMessageW(&fetched, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&fetched);
            if (!event && fetched.message == message) return true;
        }
        if (event && WaitForSingleObject(event, 0) == WAIT_OBJECT_0) return true;
    }
}

void BM_HookQueryRoundTrip(benchmark::State& state) {
    HMODULE library = Library();
    auto install = Export<int (*)(hook::InstallParams*)>(library, "LK_Install");
    auto uninstall = Export<int (*)()>(library, "LK_Uninstall");
    if (!install || !uninstall) {
        state.SkipWithError("Wordlark.dll not found");
        return;
    }
    const std::wstring area = L"Local\\wlk-bench-hook-area", query = L"Local\\wlk-bench-hook-query";
    UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            bridge::kInterchangeAreaSize, area.c_str()));
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, query.c_str()));
    HWND edit = CreateWindowExW(0, L"EDIT", L"a selection to be read", WS_POPUP | WS_VISIBLE, 0, 0,
                                200, 30, nullptr, nullptr, nullptr, nullptr);
    hook::InstallParams params;
    params.queryRequestMessage =
        RegisterWindowMessageW(reinterpret_cast<const wchar_t*>(hook::kQueryRequestMessageName));
    params.queryEventName = reinterpret_cast<uintptr_t>(query.c_str());
    params.answerEventName = reinterpret_cast<uintptr_t>(L"Local\\wlk-bench-hook-answer");
    params.areaName = reinterpret_cast<uintptr_t>(area.c_str());
    if (!mapping || !event || !edit || !install(&params)) {
        state.SkipWithError("cannot set up the query");
        if (edit) DestroyWindow(edit);
        return;
    }
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 2, 11);

    const int rounds = wlk::bench::Scaled(kRounds);
    double hooked = 0, plain = 0;
    bool answered = true;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        for (int i = 0; i < rounds; ++i) {
            PostMessageW(edit, kPlainMessage, 0, 0);
            answered = RunUntil(kPlainMessage, nullptr) && answered;
        }
        plain += Seconds(Clock::now() - start);
        start = Clock::now();
        for (int i = 0; i < rounds; ++i) {
            ResetEvent(event.Get());
            PostMessageW(edit, params.queryRequestMessage, 0, 0);
            answered = RunUntil(0, event.Get()) && answered;
        }
        hooked += Seconds(Clock::now() - start);
    }
    uninstall();
    DestroyWindow(edit);
    if (!answered) {
        state.SkipWithError("a message or a query did not come");
        return;
    }
    const double n = double(state.iterations()) * rounds;
    state.counters["query_us"] = hooked / n * 1e6;
    state.counters["plain_us"] = plain / n * 1e6;
    state.counters["ratio"] = hooked / plain;
    std::printf("hook query: plain message %.2f us, query %.2f us, ratio %.1f (%d rounds)\n",
                plain / n * 1e6, hooked / n * 1e6, hooked / plain, rounds);
}
BENCHMARK(BM_HookQueryRoundTrip)->Unit(benchmark::kMillisecond);

}  // namespace
