#include "log/event_log.h"

#include <chrono>

#include "log/exception_names.h"
#include "log/log_line.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "settings/program_location.h"

namespace wlk::log {

namespace {

constexpr uint32_t kSyncWaitMs = 5000;
// A writer holds the append mutex for at most kSyncWaitMs and one append; the
// next one waits out a few such turns before it gives its line up.
constexpr uint32_t kAppendMutexWaitMs = 3 * kSyncWaitMs;
constexpr size_t kMaxPathChars = 260;
constexpr size_t kMaxTagChars = 199;
constexpr size_t kRecentErrorsKept = 20;

// Appends one line, creating the file with its byte order mark when missing.
// The caller holds the append mutex, so no writer of ours appends between the
// creation and the mark. Every write goes to the end of the file, and only the
// writer that makes the file writes the mark, for writers that know only the
// event.
void AppendLine(const Text& path, const Text& line) {
    auto& files = platform::Current().files;
    auto file = files.OpenForAppend(path);
    if (!file) {
        file = files.CreateNew(path, platform::Security::Everyone);
        if (file) {
            const unsigned char bom[] = {0xFF, 0xFE};
            file->Write(bom, sizeof bom);
        } else {
            file = files.OpenForAppend(path);  // another writer made it meanwhile
        }
    }
    if (!file) return;
    Text text = line.ends_with(u"\r\n") ? line : line + u"\r\n";
    // x86 is little endian, so the characters are already in file order.
    file->Write(text.data(), text.size() * sizeof(char16_t));
}

// The event protocol that every component of the product follows: wait for
// the event, reset it, append, set it. Also after a failed wait the event is
// set, so that one stuck writer cannot block the log for ever.
void AppendWhenFree(platform::Event& syncEvent, const Text& path, const Text& line) {
    platform::Event* waitOn[] = {&syncEvent};
    if (platform::Current().sync.WaitAny(waitOn, kSyncWaitMs) == platform::kWaitObject0) {
        syncEvent.Reset();
        AppendLine(path, line);
    }
    syncEvent.Set();
}

}  // namespace

EventLog& EventLog::Instance() {
    // Never destroyed: worker threads may still use it while the process ends.
    static EventLog& log = *new EventLog;
    return log;
}

Text EventLog::LogPath() {
    Text candidate = settings::ProgramFolder() + u"LogReport.txt";
    if (settings::RunsFromPortableDrive() || settings::MayWriteFileOrFolder(candidate))
        return candidate;
    auto& system = platform::Current().system;
    return settings::WithBackslash(system.SpecialFolderPath(platform::SpecialFolder::AppData)) +
           u"LogReport_Wordlark.txt";
}

bool EventLog::Open(const Text& path) {
    std::lock_guard lock(mutex_);
    if (!path_.empty() || path.empty() || path.size() > kMaxPathChars) return false;
    auto& p = platform::Current();
    uint16_t atom = p.system.AddGlobalAtom(path);
    if (!atom) return false;
    std::shared_ptr<platform::Event> event =
        p.sync.CreateEvent(kSyncEventName, true, true, platform::Security::Everyone);
    std::shared_ptr<platform::Mutex> mutex =
        event ? p.sync.CreateMutex(kAppendMutexName, platform::Security::Everyone) : nullptr;
    if (!mutex) {
        p.system.DeleteGlobalAtom(atom);
        return false;
    }
    atom_ = atom;
    syncEvent_ = std::move(event);
    appendMutex_ = std::move(mutex);
    path_ = path;
    return true;
}

void EventLog::Close() {
    std::lock_guard lock(mutex_);
    if (path_.empty()) return;
    platform::Current().system.DeleteGlobalAtom(atom_);
    atom_ = 0;
    syncEvent_.reset();
    appendMutex_.reset();
    path_.clear();
}

bool EventLog::IsOpen() {
    std::lock_guard lock(mutex_);
    return !path_.empty();
}

Text EventLog::OpenPath() {
    std::lock_guard lock(mutex_);
    return path_;
}

uint16_t EventLog::PathAtom() {
    std::lock_guard lock(mutex_);
    return atom_;
}

Text EventLog::SourceTag() {
    std::lock_guard lock(mutex_);
    return sourceTag_.empty() ? Text(kDefaultSourceTag) : sourceTag_;
}

void EventLog::Write(const Text& message) {
    if (message.starts_with(u"ERROR")) KeepError(message);
    if (!IsOpen()) return;
    HandToWriter(BuildLine(SourceTag(), message, platform::Current().system.Now()));
}

void EventLog::KeepError(const Text& message) {
    std::lock_guard lock(mutex_);
    recentErrors_.push_back(message);
    if (recentErrors_.size() > kRecentErrorsKept) recentErrors_.pop_front();
}

std::vector<Text> EventLog::RecentErrors() {
    std::lock_guard lock(mutex_);
    return {recentErrors_.begin(), recentErrors_.end()};
}

void EventLog::WriteError(const Text& message) {
    Write(u"ERROR: " + message);
}

void EventLog::WriteWithTime(const Text& message) {
    auto now = platform::Current().system.Now();
    Write(message + u" " + ShortDate(now) + u" " + ShortTime(now));
}

void EventLog::WriteTagged(const Text& message, const Text& tag) {
    Write(tag + u": " + message);
}

void EventLog::SetSourceTag(const Text& tag) {
    std::lock_guard lock(mutex_);
    sourceTag_ = tag.substr(0, kMaxTagChars);
}

void EventLog::ClearSourceTag() {
    SetSourceTag(Text());
}

void EventLog::ReportException(const Text& context, uint32_t code) {
    Text text = Format(u"%s GetExceptionCode=%u status=[%s]",
                       {context, ToText(code), Text(ExceptionName(code))});
    WriteError(text);
    platform::Current().ui.MessageBox(platform::MessageOwner::None, text, u"Wordlark",
                                      platform::MessageIcon::Error, true);
}

void EventLog::AddBatchLine(const Text& message) {
    Text line = BuildBatchLine(message, platform::Current().system.Now());
    std::lock_guard lock(mutex_);
    batch_.push_back(std::move(line));
}

void EventLog::FlushBatch() {
    Text entry;
    {
        std::lock_guard lock(mutex_);
        for (size_t i = 0; i < batch_.size(); ++i) entry += (i ? u"\n" : u"") + batch_[i];
        batch_.clear();
    }
    if (IsOpen()) HandToWriter(entry);
}

void EventLog::DescribeWindow(platform::WindowId window, const Text& tag) {
    auto& ui = platform::Current().ui;
    WriteTagged(Format(u"IsWindow=%d", {ToText(ui.IsWindow(window) ? 1 : 0)}), tag);
    WriteTagged(Format(u"classname=[%s]", {ui.ClassName(window)}), tag);
}

void EventLog::HandToWriter(const Text& line) {
    PendingLine pending{line, nullptr, nullptr, Text()};
    {
        std::lock_guard lock(mutex_);
        pending.event = syncEvent_;
        pending.mutex = appendMutex_;
        pending.path = path_;
    }
    if (pending.path.empty() || line.empty() || !pending.event || !pending.mutex) return;
    std::unique_lock lock(orderMutex_);
    ++handed_;
    pending_.push_back(std::move(pending));
    if (writing_) return;
    // One writer at a time, while there are lines: they reach the file in
    // the order they were written, and a press of the hotkey does not start
    // a thread per line.
    writing_ = true;
    lock.unlock();
    if (platform::Current().threads.Start([this] { WriteAll(); })) return;
    lock.lock();
    writing_ = false;
    written_ += pending_.size();
    pending_.clear();
    turnChanged_.notify_all();
}

void EventLog::WriteAll() {
    std::unique_lock lock(orderMutex_);
    while (!pending_.empty()) {
        const PendingLine line = std::move(pending_.front());
        pending_.pop_front();
        lock.unlock();
        if (line.mutex->Acquire(kAppendMutexWaitMs)) {
            AppendWhenFree(*line.event, line.path, line.text);
            line.mutex->Release();
        }
        lock.lock();
        ++written_;
        turnChanged_.notify_all();
    }
    writing_ = false;
}

void EventLog::WaitForWriters(uint32_t maxMs) {
    // Every line handed to the writer is written (or given up) when the
    // counts meet.
    std::unique_lock lock(orderMutex_);
    turnChanged_.wait_for(lock, std::chrono::milliseconds(maxMs),
                          [&] { return written_ == handed_; });
}

}  // namespace wlk::log
