// CWLKDLLService: the program's side of the hook component "Wordlark.dll".
// It loads the library, installs and removes the hook through its exports,
// asks it which window the user works in, and starts a query for the facts
// about that window: through the hook inside the target, or gathered here
// when the hook cannot reach the target.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "bridge/direct_context.h"
#include "bridge/target_context.h"
#include "platform/library.h"
#include "platform/sync.h"
#include "platform/types.h"

namespace wlk::bridge {

// How a request for the target context went; the caller hides its balloon
// on Requested and NotSent, and shows the menu at once on ContextReady.
enum class QueryResult {
    Requested = 0,     // the hook was asked; the query arrives through the interchange
    NotSent = 1,       // no target window, or the request could not be posted
    ContextReady = 2,  // the context was filled here
};

inline constexpr char16_t kHookLibraryName[] = u"Wordlark.dll";

class CWLKDLLService {
public:
    CWLKDLLService(uint32_t queryRequestMessage, SelectionReader readSelection);
    CWLKDLLService(const CWLKDLLService&) = delete;
    CWLKDLLService& operator=(const CWLKDLLService&) = delete;

    // Window events (foreground and focus changes) name a fallback target.
    // The program does not subscribe the service to them.
    virtual void OnWindowEvent(uint32_t event, platform::WindowId window);
    virtual ~CWLKDLLService();

    // Loads the library from the program's folder and installs the hook. The
    // three names must stay as they are while installed: the library keeps
    // their addresses. `resultCode` receives the library's or our own code.
    bool InstallDLLService_IML_32(platform::WindowId trayWindow, const Text& queryEventName,
                                  const Text& answerEventName, const Text& areaName, bool writeLog,
                                  uint32_t& resultCode, bool answersExpected);
    bool Uninstall();
    bool IsInstalled() const { return installed_ != 0; }
    // Without an interchange area every request is served by the direct road.
    void ServeDirectly(bool directOnly) { directOnly_ = directOnly; }

    platform::WindowId GetTargetWindow();
    platform::WindowId GetTargetWindowOther();

    // Starts a query for the window the user works in; wParam is 0 for the
    // hotkey and 1 for other triggers. Fills `context` only on ContextReady.
    QueryResult SendMessageToTargetWindow(uintptr_t wParam, TargetContext& context);
    // The window the last request went to; 0 when there was none.
    platform::WindowId LastTarget() const { return lastTarget_; }
    // Gathers the target's facts here, also when the hook stays silent.
    void FillContextDirectly(platform::WindowId target, TargetContext& context) const;

    Text ImplementationText() const;
    // The library's full path, as installation loads it.
    static Text LibraryPath();

    // Mouse gestures are not offered: handing over the gesture message does
    // nothing, and there is never a gesture point.
    int SetGestureMessage(uint32_t message, platform::WindowId window);
    bool GetGesturePoint(int32_t& x, int32_t& y) const;

private:
    platform::WindowId CallWindowExport(const char* name);
    void WriteDiagnostics(platform::WindowId window);

    std::unique_ptr<platform::Library> library_;
    int installed_ = 0;
    std::unique_ptr<platform::Event> serviceEvent_;
    std::optional<uint32_t> lastDiagnosedProcess_;
    uint32_t queryRequestMessage_;
    SelectionReader readSelection_;
    platform::WindowId fallbackWindow_ = 0;
    bool directOnly_ = false;
    platform::WindowId lastTarget_ = 0;
    // The names handed to the library, which keeps their addresses.
    Text queryEventName_;
    Text answerEventName_;
    Text areaName_;
};

}  // namespace wlk::bridge
