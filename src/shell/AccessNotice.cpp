#include "shell/AccessNotice.h"

#include "transport/HidrawIdentity.h"
#include "transport/NodeLock.h"

#include <cstring>

namespace shell {

QString AccessNotice::Take(const std::string& path, int error) {
    const std::string node = transport::NodeOfPath(path);
    if (!m_toldNodes.insert(node).second)
        return {};
    if (error == transport::kNodeInUse)
        return QStringLiteral("%1 is in use by another program; quit it to use the device here")
            .arg(QString::fromStdString(node));
    return QStringLiteral("%1: %2; install the udev rule: see README")
        .arg(QString::fromStdString(node), QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace shell
