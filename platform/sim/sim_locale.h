// Three fixed locales (English US 0x0409, German 0x0407, Russian 0x0419) with
// their long dates, 24-hour times and names; any other locale id fails as an
// unknown one does on Windows.
#pragma once

#include "platform/locale.h"

namespace wlk::platform::sim {

inline constexpr uint32_t kLcidEnglish = 0x0409;
inline constexpr uint32_t kLcidGerman = 0x0407;
inline constexpr uint32_t kLcidRussian = 0x0419;

class SimLocale : public Locale {
public:
    Text LongDate(uint32_t lcid, const LocalTime& time) override;
    Text Time24(uint32_t lcid, const LocalTime& time) override;
    Text Info(uint32_t lcid, uint32_t item, size_t maxChars) override;
    uint32_t UserDefaultLcid() override { return userLcid; }
    Text Upper(const Text& text) override;
    Text Lower(const Text& text) override;

    uint32_t userLcid = kLcidEnglish;
};

}  // namespace wlk::platform::sim
