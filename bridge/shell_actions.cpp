#include "bridge/shell_actions.h"

#include "phrases/macro_expansion.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::bridge {

namespace {

constexpr size_t kMaxReasonChars = 1024;
constexpr intptr_t kShellErrorLimit = 32;  // ShellExecuteW's results up to 32 are errors
constexpr uint32_t kSimpleBeep = 0xFFFFFFFF;

Text ReplaceAll(Text text, std::u16string_view from, std::u16string_view to) {
    for (size_t at = text.find(from); at != Text::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

intptr_t Open(platform::WindowId owner, const Text& file, const Text& parameters = Text(),
              const Text& directory = Text()) {
    return platform::Current().ui.ShellExecute(owner, u"open", file, parameters, directory);
}

}  // namespace

Text ExpandCommandLine(platform::WindowId target, const Text& text, const Text& selected,
                       const Text& clipboard) {
    auto& targets = platform::Current().targets;
    const uint32_t layout = targets.KeyboardLayout(targets.OwnerOf(target).threadId);
    Text line = text;
    phrases::ExpandMacros(line, ReplaceAll(selected, u"\r\n", u" "), clipboard, nullptr, nullptr,
                          layout & 0xFFFF);
    return line;
}

bool RunCommand(platform::WindowId owner, const Text& commandLine,
                const std::function<void()>& onLaunched) {
    auto& p = platform::Current();
    const uint32_t savedError = p.system.ThreadLastError();
    const bool launched = Open(owner, commandLine) > kShellErrorLimit;
    if (launched) {
        if (onLaunched) onLaunched();
    } else {
        const Text report = p.system.SystemErrorText(p.ui.ShellLastError(), kMaxReasonChars) +
                            u"\n\nCommand: " + commandLine + u"\n\nSource Command: " + commandLine;
        p.ui.MessageBeep(kSimpleBeep);
        p.ui.MessageBoxOwned(owner, report, u"Wordlark", platform::MessageIcon::Warning);
    }
    p.system.SetThreadLastError(savedError);
    return launched;
}

bool OpenUrl(const Text& address, bool report, platform::WindowId owner) {
    auto& p = platform::Current();
    const intptr_t result = Open(owner, address);
    if (result > kShellErrorLimit) return true;
    if (report && p.ui.ShellLastError() != 0) {
        // ShellExecuteW's small results share their numbers with system errors.
        const Text reason = p.system.SystemErrorText(uint32_t(result), kMaxReasonChars);
        p.ui.MessageBoxOwned(owner,
                             reason + u"\nCommand: [" + address + u"]\nCommand Lenght: " +
                                 ToText(static_cast<long long>(address.size())),
                             u"Wordlark", platform::MessageIcon::Warning);
    }
    return false;
}

bool OpenWith(platform::WindowId owner, const Text& path) {
    return Open(owner, u"Rundll32.exe", u"shell32.dll,OpenAs_RunDLL " + path) > kShellErrorLimit;
}

}  // namespace wlk::bridge
