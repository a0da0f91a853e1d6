#include "bridge/direct_context.h"

#include "platform/platform.h"

namespace wlk::bridge {

namespace {
constexpr char16_t kConsoleClass[] = u"ConsoleWindowClass";
constexpr size_t kMaxClassNameChars = 1023;
}  // namespace

DirectRoad ChooseDirectRoad(platform::WindowId target) {
    auto& p = platform::Current();
    if (p.targets.ProgramRunsUnderWow64()) return DirectRoad::ProgramUnderWow64;
    if (p.ui.ClassName(target) == kConsoleClass) return DirectRoad::ConsoleWindow;
    const uint32_t processId = p.targets.OwnerOf(target).processId;
    if (!p.targets.CanOpenForQuery(processId)) return DirectRoad::TargetNotOpenable;
    if (p.targets.ProcessRunsUnderWow64(processId)) return DirectRoad::Target32Bit;
    return DirectRoad::None;
}

Text RoadLogLine(DirectRoad road) {
    const Text direct = u"Target context filled directly: ";
    switch (road) {
        case DirectRoad::None: return u"Target reached through the hook component";
        case DirectRoad::ProgramUnderWow64: return direct + u"program runs under WOW64";
        case DirectRoad::ConsoleWindow: return direct + u"console window";
        case DirectRoad::TargetNotOpenable: return direct + u"target process cannot be opened";
        case DirectRoad::Target32Bit: return direct + u"32-bit target process";
        case DirectRoad::NoInterchange: return direct + u"no interchange area of our own";
    }
    return direct;
}

void FillTargetContextDirectly(platform::WindowId target, const SelectionReader& readSelection,
                               TargetContext& context) {
    auto& p = platform::Current();
    context.HWND = target;
    context.StateSelText = kSelTextUnreadable;
    // A password box is never copied from.
    if (p.targets.HoldsSecret(target)) {
        context.StateSelText = kSelTextWithheld;
    } else if (Text selection = readSelection ? readSelection(target) : Text();
               !selection.empty()) {
        context.SelText = std::move(selection);
        context.StateSelText = kSelTextExtracted;
    }
    const platform::WindowOwner owner = p.targets.OwnerOf(target);
    context.AppPath = p.targets.ProcessFileName(owner.processId);
    context.HKL = p.targets.KeyboardLayout(owner.threadId);
    context.WindowClassName = p.ui.ClassName(target).substr(0, kMaxClassNameChars);
}

}  // namespace wlk::bridge
