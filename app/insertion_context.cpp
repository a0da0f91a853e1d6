#include "app/insertion_context.h"

#include "bridge/selection_extract.h"
#include "platform/platform.h"

namespace wlk::app {

bool ContextIsFor(const bridge::TargetContext& context, platform::WindowId target) {
    return target != 0 && (context.HWND == target || context.guiThread.HWND_Active == target);
}

bridge::InsertionContext InsertionContextFor(platform::WindowId target,
                                             const bridge::TargetContext* called,
                                             const Text& clipboardAtCall) {
    bridge::InsertionContext context;
    if (called && ContextIsFor(*called, target)) {
        context.layout = called->HKL;
        context.selectedText = called->SelText;
        context.windowClass = called->WindowClassName;
        context.executable = called->AppPath;
        context.clipboardText = clipboardAtCall;
        return context;
    }
    auto& p = platform::Current();
    const platform::WindowOwner owner = p.targets.OwnerOf(target);
    if (owner.threadId != 0) context.layout = p.targets.KeyboardLayout(owner.threadId);
    if (owner.processId != 0) context.executable = p.targets.ProcessImagePath(owner.processId);
    context.windowClass = p.ui.ClassName(target);
    context.clipboardText = bridge::ReadClipboardText();
    return context;
}

}  // namespace wlk::app
