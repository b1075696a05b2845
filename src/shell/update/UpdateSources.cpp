#include "shell/update/UpdateSources.h"

#include "devices/ModelTables.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "shell/MainWnd.h"

#include <cstdlib>

namespace shell::update {

std::vector<std::uint32_t> DeviceVersions(const CMainWnd& main) {
    std::vector<std::uint32_t> versions(devices::kModelCount, 0);
    if (!main.Registry())
        return versions;
    for (devices::CKelvaneUSBDevice* device : main.Registry()->Devices()) {
        const int row = device->GetModelRowIndex();
        if (row < 0 || static_cast<std::size_t>(row) >= versions.size() || versions[row] != 0)
            continue;
        transport::CDeviceComm& command = device->CommandChannel();
        if (command.open)
            versions[row] = command.CableChannel().GetVersionNumber();
    }
    return versions;
}

std::string ServiceRoot() {
    if (const char* root = std::getenv(kServiceRootVariable); root && *root)
        return root;
    return platform::ReadUpdateServiceRoot();
}

SettingsSetup SettingsSetupFor(CMainWnd& main) {
    SettingsSetup setup;
    setup.mainWnd = &main;
    setup.languageIndex = main.GetLanguageIndex();
    setup.entries = ::update::UpdateEntries(DeviceVersions(main),
                                            ::update::ParseInstalledVersion(QUARIN_VERSION));
    setup.serviceRoot = ServiceRoot();
    setup.userFolder = platform::UserFolder();
    return setup;
}

} // namespace shell::update
