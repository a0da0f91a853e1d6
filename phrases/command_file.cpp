#include "phrases/command_file.h"

#include <atomic>

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::phrases {

namespace {

// Two writes of the same phrase may overlap (nothing serialises them), so each
// takes a temporary name of its own; CREATE_NEW settles any remaining clash.
std::atomic<uint32_t> g_tempCounter{0};
constexpr int kTempNameTries = 32;

void LogWriteFailure(const Text& what, const Text& fileName) {
    log::EventLog::Instance().WriteError(what + u" [" + fileName + u"]");
}

}  // namespace

ReadOutcome ReadCommandFileOutcome(CWLKCommand& node, const Text& fileName) {
    auto& files = platform::Current().files;
    std::optional<std::string> bytes = files.ReadAll(fileName);
    if (!bytes) return ReadOutcome::Unreadable;
    if (bytes->size() > kMaxPhraseFileBytes) return ReadOutcome::TooLarge;
    return ParseCommandXml(*bytes, node);
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
        LogWriteFailure(u"cannot create a temporary file for", fileName);
        return false;
    }
    const bool written = temp->Write(document.data(), document.size());
    temp.reset();  // closed, or the replacing move would meet a sharing violation
    if (!written) {
        files.DeleteFile(tempName);
        LogWriteFailure(u"cannot write the phrase file", fileName);
        return false;
    }

    const bool wasReadOnly = existed && files.IsReadOnly(fileName);
    if (wasReadOnly) files.SetReadOnly(fileName, false);
    if (!ReplaceWithRetries(tempName, fileName)) {
        files.DeleteFile(tempName);
        if (wasReadOnly) files.SetReadOnly(fileName, true);
        LogWriteFailure(u"cannot replace the phrase file", fileName);
        return false;
    }
    return true;
}

}  // namespace wlk::phrases
