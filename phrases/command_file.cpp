#include "phrases/command_file.h"

#include <atomic>
#include <string_view>

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/xml_guard.h"

namespace wlk::phrases {

namespace {

// Two writes of the same phrase may overlap (nothing serialises them), so each
// takes a temporary name of its own; CREATE_NEW settles any remaining clash.
std::atomic<uint32_t> g_tempCounter{0};
constexpr int kTempNameTries = 32;

constexpr size_t kErrorTextMaxChars = 1024;

// "ERROR: code 5, Access is denied." for the error of the call that just failed.
void LogWriteFailure(uint32_t code) {
    const Text text = platform::Current().system.SystemErrorText(code, kErrorTextMaxChars);
    log::EventLog::Instance().WriteError(Format(u"code %d, %s", {ToText(code), TrimRight(text)}));
}

// A file that is not UTF-8 was written in the system's ANSI code page (an older
// editor, a hand-made file); its characters are taken as that code page gives them.
std::string AsUtf8(std::string bytes) {
    // The reader stops at the first NUL (a binary file), so only what stands before counts.
    std::string_view text = std::string_view(bytes).substr(0, bytes.find('\0'));
    if (IsUtf8(text)) return bytes;
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    return ToUtf8(platform::Current().files.AnsiText(text));
}

}  // namespace

ReadOutcome ReadCommandFileOutcome(CWLKCommand& node, const Text& fileName) {
    std::optional<std::string> bytes = platform::Current().files.ReadAll(fileName);
    if (!bytes) return ReadOutcome::Unreadable;
    return ParseCommandXml(AsUtf8(std::move(*bytes)), node);
}

bool ReadCommandFile(CWLKCommand& node, const Text& fileName) {
    return ReadCommandFileOutcome(node, fileName) == ReadOutcome::Phrase;
}

Text CommandFileName(const CWLKCommand& node) {
    if (!node.IsGroup()) return node.GetPath();
    Text folder = node.GetPath();
    if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
    return folder + kFolderSelfName;
}

bool WriteCommandFile(const CWLKCommand& node, const Text& fileName) {
    std::optional<std::string> document = BuildCommandXml(node);
    if (!document) {
        log::EventLog::Instance().WriteError(u"cannot create XML for command");
        return false;
    }
    return WriteDocumentFile(*document, fileName);
}

namespace {

// Another program (the phrase editor, a virus scanner) may hold the file open
// for a moment; the replacing move is tried again for about a second.
bool ReplaceWithRetries(const Text& from, const Text& to) {
    constexpr int kReplaceTries = 20;
    constexpr uint32_t kReplaceRetryMs = 50;
    auto& p = platform::Current();
    for (int i = 0; i < kReplaceTries; ++i) {
        if (p.files.Replace(from, to)) return true;
        p.threads.Sleep(kReplaceRetryMs);
    }
    return false;
}

}  // namespace

bool WriteDocumentFile(const std::string& document, const Text& fileName) {
    auto& files = platform::Current().files;
    const bool existed = files.Kind(fileName) == platform::PathKind::File;
    const auto security = existed ? platform::Security::Default : platform::Security::Everyone;

    Text tempName;
    std::unique_ptr<platform::File> temp;
    for (int i = 0; i < kTempNameTries && !temp; ++i) {
        tempName = fileName + u"." + ToText(g_tempCounter.fetch_add(1) % 100000) + u".tmp";
        temp = files.CreateNew(tempName, security);
    }
    if (!temp) {
        LogWriteFailure(files.LastError());
        return false;
    }
    const bool written = temp->Write(document.data(), document.size());
    const uint32_t writeError = written ? 0 : files.LastError();
    temp.reset();  // closed, or the replacing move would meet a sharing violation
    if (!written) {
        files.DeleteFile(tempName);
        LogWriteFailure(writeError);
        return false;
    }

    const bool wasReadOnly = existed && files.IsReadOnly(fileName);
    if (wasReadOnly) files.SetReadOnly(fileName, false);
    if (!ReplaceWithRetries(tempName, fileName)) {
        const uint32_t replaceError = files.LastError();
        files.DeleteFile(tempName);
        if (wasReadOnly) files.SetReadOnly(fileName, true);
        LogWriteFailure(replaceError);
        return false;
    }
    return true;
}

}  // namespace wlk::phrases
