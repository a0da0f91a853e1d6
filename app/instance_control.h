// The named events through which starts of the program find and signal the
// running instance.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::app {

inline constexpr char16_t kInstanceEventName[] = u"9DDB575E-846B-4600-880F-98319D699611";
inline constexpr char16_t kAutomodeEventName[] = u"9DDB575E-846B-4600-880F-98319D699612";
inline constexpr char16_t kAdminHandOverEventName[] = u"55517695-4FD6-40eb-9E52-997024E979DE";
inline constexpr char16_t kExitEventName[] = u"Local\\Wordlark_Exit";
inline constexpr char16_t kAlreadyWorkEventName[] = u"Local\\Wordlark_AlreadyWork";
inline constexpr char16_t kEditorRequestEventName[] = u"BD9F528F-8997-48c7-897C-F437765F93D2";
inline constexpr char16_t kShowMenuEventName[] = u"{84F81BCD-0FC6-4782-B39F-C638F539FA14}";
inline constexpr char16_t kCheckForUpdatesEventName[] = u"Local\\Wordlark_CheckForUpdates";

// The tray window's command that ends the program.
inline constexpr uint32_t kExitCommand = 57665;

// The message later starts send to the running instance: wParam 1 asks it to
// end, wParam 0 tells it that somebody tried to start the program again.
uint32_t InstanceMessage();

// Opens the event, sets it and closes it; false when it does not exist.
bool SignalNamedEvent(const Text& name);
// Opens, sets and at once resets the event: only a thread waiting now sees it.
bool PulseNamedEvent(const Text& name);
// Whether a running instance holds the instance event.
bool InstanceExists();

}  // namespace wlk::app
