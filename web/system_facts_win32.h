// What the update query tells about the machine, read from the system.
#pragma once

#include "platform/types.h"

namespace wlk::web {

// Each value is short plain text and never empty: a fact that cannot be read
// has a word of its own ("none", "unknown", "Not found").
struct SystemFacts {
    Text winver;     // "10.0.19045", with the service pack when there is one
    Text languages;  // the keyboard layouts' languages, "en-US,de-DE"
    Text country;    // ISO 3166 two-letter code, "US"
    Text domain;     // the DNS domain of the computer, or "none"
    Text ram;        // physical memory, "16384MB"
    Text screen;     // primary screen, "1920x1080"
    Text mfc;        // file version of Mfc42.DLL, or "Not found"
};

SystemFacts ReadSystemFacts();

}  // namespace wlk::web
