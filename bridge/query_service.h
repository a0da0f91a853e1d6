// The program's side of the query exchange while the phrase menu is on: the
// interchange objects and the thread that waits for queries, started and
// stopped together.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "bridge/interchange.h"
#include "bridge/wait_query.h"

namespace wlk::bridge {

class QueryService {
public:
    using SelectionReader = std::function<Text(platform::WindowId)>;

    ~QueryService() { Close(); }

    // Creates the area and its events; false (logged) when any cannot be made.
    bool Open();
    // Starts the waiting thread, which sends each query to `trayWindow`.
    bool StartWaiting(platform::WindowId trayWindow, SelectionReader readSelection);
    // Starts the waiting thread again after it ended with an error.
    bool Restart();
    // Stops the thread and closes the objects; harmless when not open.
    void Close();
    bool IsOpen() const { return interchange_.area != nullptr; }

    // Queries read so far: lets the tray window tell a query that is on its
    // way (its selection still being copied) from one that never came.
    uint32_t QueriesRead() const { return queriesRead_->load(); }

private:
    QueryHandlingSteps Steps() const;

    Interchange interchange_;
    WaitQueryParams params_;
    SelectionReader readSelection_;
    std::shared_ptr<std::atomic<uint32_t>> queriesRead_ =
        std::make_shared<std::atomic<uint32_t>>(0);
};

}  // namespace wlk::bridge
