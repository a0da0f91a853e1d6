// The event log: time-stamped lines appended to a UTF-16 file while logging is
// on. Other processes of the product write to the same file; all writers take
// turns on a shared named event, and the lines are written by a writer thread
// that lives while there are lines, so that a slow disk never holds up the
// caller.
//
// Waiting for the event and then resetting it are two steps, so two writers
// can both take it. Our own processes therefore also hold a named mutex from
// before that wait until after the event is set again: between them, appends
// never overlap, and the event still works for components that only know it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/sync.h"
#include "platform/types.h"

namespace wlk::log {

inline constexpr char16_t kSyncEventName[] = u"Local\\WordlarkLogger_SyncEven";
inline constexpr char16_t kAppendMutexName[] = u"Local\\WordlarkLogger_AppendMutex";

class EventLog {
public:
    static EventLog& Instance();

    // The file the log should go to: beside the program when possible, else
    // in the user's application-data folder.
    Text LogPath();
    bool Open(const Text& path);
    void Close();
    bool IsOpen();
    // The path the log is open at and the global atom that publishes it to
    // the product's other processes; empty and 0 while the log is closed.
    Text OpenPath();
    uint16_t PathAtom();

    void Write(const Text& message);
    void WriteError(const Text& message);
    void WriteWithTime(const Text& message);
    void WriteTagged(const Text& message, const Text& tag);
    // The last error lines of this run (those starting "ERROR"), oldest
    // first; kept whether or not the log is open, for the environment report.
    std::vector<Text> RecentErrors();
    void SetSourceTag(const Text& tag);
    void ClearSourceTag();
    // Logs "<context> GetExceptionCode=<code> status=[<name>]" as an error and
    // shows it in a message box.
    void ReportException(const Text& context, uint32_t code);

    // Lines gathered and written later as one entry.
    void AddBatchLine(const Text& message);
    void FlushBatch();

    // Waits up to `maxMs` for the lines still being written, so that the
    // last lines of a run reach the file before the process ends.
    void WaitForWriters(uint32_t maxMs);

    // Writes "IsWindow=%d" and "classname=[%s]" for a window under `tag`.
    void DescribeWindow(platform::WindowId window, const Text& tag);

private:
    void HandToWriter(const Text& line);
    void KeepError(const Text& message);
    // The writer thread's body: appends the pending lines, then ends.
    void WriteAll();
    Text SourceTag();

    std::mutex mutex_;
    Text path_;
    uint16_t atom_ = 0;
    std::shared_ptr<platform::Event> syncEvent_;
    std::shared_ptr<platform::Mutex> appendMutex_;
    Text sourceTag_;
    std::vector<Text> batch_;
    std::deque<Text> recentErrors_;
    // Lines on their way to the file, in their order, and their counts.
    struct PendingLine {
        Text text;
        std::shared_ptr<platform::Event> event;
        std::shared_ptr<platform::Mutex> mutex;
        Text path;
    };
    std::mutex orderMutex_;
    std::condition_variable turnChanged_;
    std::deque<PendingLine> pending_;
    bool writing_ = false;
    uint64_t handed_ = 0;
    uint64_t written_ = 0;
};

}  // namespace wlk::log
