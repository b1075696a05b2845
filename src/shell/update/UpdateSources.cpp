#include "shell/update/UpdateSources.h"

#include "devices/ModelTables.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "shell/MainWnd.h"

#include <QNetworkProxyFactory>
#include <QUrl>

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
    if (const char* root = std::getenv(::update::kServiceRootVariable); root && *root)
        return root;
    return platform::ReadUpdateServiceRoot();
}

std::string DesktopProxyFor(const std::string& serviceRoot) {
    if (serviceRoot.empty())
        return {};
    const QNetworkProxyQuery query(QUrl(QString::fromStdString(serviceRoot)));
    for (const QNetworkProxy& proxy : QNetworkProxyFactory::systemProxyForQuery(query)) {
        if (proxy.type() == QNetworkProxy::NoProxy)
            return {};
        if (proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::Socks5Proxy)
            return QStringLiteral("%1://%2:%3")
                .arg(proxy.type() == QNetworkProxy::HttpProxy ? "http" : "socks5h",
                     proxy.hostName(), QString::number(proxy.port()))
                .toStdString();
    }
    return {};
}

SettingsSetup SettingsSetupFor(CMainWnd& main) {
    SettingsSetup setup;
    setup.mainWnd = &main;
    setup.languageIndex = main.GetLanguageIndex();
    setup.entries = ::update::UpdateEntries(DeviceVersions(main),
                                            ::update::ParseInstalledVersion(QUARIN_VERSION));
    setup.serviceRoot = ServiceRoot();
    setup.http.proxy = DesktopProxyFor(setup.serviceRoot);
    setup.userFolder = platform::UserFolder();
    return setup;
}

} // namespace shell::update
