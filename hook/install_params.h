// The block that the program hands to LK_Install, shared by both sides.
//
// The hook component is built for x86-64 only, so the handle and address
// fields are pointer-sized. Packed, little-endian, 62 bytes:
//
//   offset size field
//        0    8 tray window (HWND)
//        8    4 query request message
//       12    4 reserved, 0
//       16    8 address of the query event name (UTF-16, zero-terminated)
//       24    8 address of the answer event name
//       32    8 address of the interchange area name
//       40    8 address of the event log's path, or 0 when logging is off
//       48    4 result code, 0 on entry; written by the library
//       52    4 reserved, 0
//       56    2 global atom publishing the log path, or 0
//       58    4 1 when answers are expected, else 0
//
// The three names live as long as the program; the log path is valid only
// during the call, so the library copies it when it keeps it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wlk::hook {

#pragma pack(push, 1)
struct InstallParams {
    uint64_t trayWindow = 0;
    uint32_t queryRequestMessage = 0;
    uint32_t reserved1 = 0;
    uint64_t queryEventName = 0;
    uint64_t answerEventName = 0;
    uint64_t areaName = 0;
    uint64_t logPath = 0;
    uint32_t resultCode = 0;
    uint32_t reserved2 = 0;
    uint16_t logAtom = 0;
    uint32_t answersExpected = 0;
};
#pragma pack(pop)

static_assert(sizeof(InstallParams) == 62);
static_assert(offsetof(InstallParams, queryRequestMessage) == 8);
static_assert(offsetof(InstallParams, queryEventName) == 16);
static_assert(offsetof(InstallParams, logPath) == 40);
static_assert(offsetof(InstallParams, resultCode) == 48);
static_assert(offsetof(InstallParams, logAtom) == 56);
static_assert(offsetof(InstallParams, answersExpected) == 58);

// Result codes written into resultCode by the library (0..3) or set by the
// program's service (the others).
inline constexpr uint32_t kInstallSuccess = 0;
inline constexpr uint32_t kInstallInvalidNames = 1;
inline constexpr uint32_t kInstallAlreadyInstalled = 2;
inline constexpr uint32_t kInstallCantHook = 3;
inline constexpr uint32_t kInstallCantLoad = 4;
inline constexpr uint32_t kInstallNoInstallExport = 5;
inline constexpr uint32_t kInstallNoServiceEvent = 7;

// The registered message that asks the hook, inside the target's thread, for
// a query.
inline constexpr char16_t kQueryRequestMessageName[] = u"{FC970502-EECA-4c50-AF80-CF39EA345E99";

}  // namespace wlk::hook
