// Locale formats, keyboard layouts and case from the Win32 calls.
#pragma once

#include "platform/locale.h"

namespace wlk::platform::win32 {

class Win32Locale final : public Locale {
public:
    Text LongDate(uint32_t lcid, const LocalTime& time) override;
    Text Time24(uint32_t lcid, const LocalTime& time) override;
    Text Info(uint32_t lcid, uint32_t item, size_t maxChars) override;
    uint32_t UserDefaultLcid() override;
    Text Upper(const Text& text) override;
    Text Lower(const Text& text) override;
};

}  // namespace wlk::platform::win32
