#include "phrases/windows_version.h"

#include "platform/text.h"

namespace wlk::phrases {

namespace {

const char16_t* ProductName(const OsVersion& v) {
    if (!v.nt) {
        if (v.major != 4) return u"Unknown Windows";
        if (v.minor == 0) return u"Windows 95";
        if (v.minor == 10) return u"Windows 98";
        if (v.minor == 90) return u"Windows ME";
        return u"Unknown Windows";
    }
    const uint32_t version = v.major * 100 + v.minor;
    switch (version) {
        case 351: return u"Windows NT 3.51";
        case 400: return u"Windows NT 4.0";
        case 500: return u"Windows 2000";
        case 501: return u"Windows XP";
        case 502: return u"Windows Server 2003";
        case 600: return v.workstation ? u"Windows Vista" : u"Windows Server 2008";
        case 601: return v.workstation ? u"Windows 7" : u"Windows Server 2008 R2";
        case 602: return v.workstation ? u"Windows 8" : u"Windows Server 2012";
        case 603: return v.workstation ? u"Windows 8.1" : u"Windows Server 2012 R2";
        case 1000: return u"Windows 10";
        default: return u"Unknown Windows";
    }
}

}  // namespace

Text WindowsVersionText(const OsVersion& version) {
    return Text(ProductName(version)) + (version.is64 ? u" 64x" : u" 32x") + u" build " +
           ToText(version.build) + u" " + version.servicePack;
}

}  // namespace wlk::phrases
