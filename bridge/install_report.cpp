#include "bridge/install_report.h"

#include "hook/install_params.h"
#include "platform/text.h"

namespace wlk::bridge {

Text InstallResultText(uint32_t code) {
    switch (code) {
        case hook::kInstallSuccess: return u"Success";
        case hook::kInstallInvalidNames: return u"Invalid names of sync objects";
        case hook::kInstallAlreadyInstalled: return u"DLL service is already installed";
        case hook::kInstallCantHook: return u"Cant install hook";
        case hook::kInstallCantLoad: return u"Cant load DLL";
        case hook::kInstallNoInstallExport:
            return u"Cant GetProcAddress to install function of DLL";
        case hook::kInstallNoServiceEvent: return u"Cant create service event";
        default: return u"Unknow error";
    }
}

Text InstallErrorReport(const Text& libraryPath, bool libraryExists, uint32_t code) {
    return Text(u"ERROR: Cannot kernel DLL install") +
           (libraryExists ? u"\nDLL path: " : u"\nDLL not found: ") + libraryPath + u"\n" +
           InstallResultText(code) + u"\n" + Format(u"Error code: %d", {ToText(code)});
}

}  // namespace wlk::bridge
