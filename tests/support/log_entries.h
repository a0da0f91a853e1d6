// A log file's entries as tests compare them: each line's source tag and
// message, without the time stamp between them, so that only the test of the
// line layout itself depends on that layout.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "support/test_helpers.h"

namespace wlk::test {

struct LogEntry {
    std::string tag;  // empty for a line without "tag: [stamp] "
    std::string message;
    bool operator==(const LogEntry&) const = default;
};

inline void PrintTo(const LogEntry& entry, std::ostream* out) {
    *out << '{' << entry.tag << " | " << entry.message << '}';
}

// The entries of a log file's raw UTF-16 bytes, its byte order mark dropped;
// each entry ends with "\r\n" in the file.
inline std::vector<LogEntry> LogEntries(const std::string& bytes) {
    std::string text = Utf16ToUtf8(bytes.substr(0, 2) == kBom16 ? bytes.substr(2) : bytes);
    std::vector<LogEntry> entries;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        std::string line = text.substr(start, end - start);
        size_t open = line.find(": [");
        size_t close = line.find("] ", open);
        if (open == std::string::npos || close == std::string::npos)
            entries.push_back({"", line});
        else
            entries.push_back({line.substr(0, open), line.substr(close + 2)});
    }
    return entries;
}

}  // namespace wlk::test
