#include "shell/AccessNotice.h"

#include "transport/HidrawIdentity.h"

#include <cstring>

namespace shell {

QString AccessNotice::Take(const std::string& path, int error) {
    const std::string node = transport::NodeOfPath(path);
    if (!m_toldNodes.insert(node).second)
        return {};
    return QStringLiteral("%1: %2; install the udev rule: see README")
        .arg(QString::fromStdString(node), QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace shell
