#include "shell/AccessNotice.h"

#include <cstring>

namespace shell {

QString AccessNotice::Take(const std::string& path, int error) {
    // The node is the path up to the collection's identity ("/dev/hidraw3?vid_...").
    const std::string node = path.substr(0, path.find('?'));
    if (!m_toldNodes.insert(node).second)
        return {};
    return QStringLiteral("%1: %2; install the udev rule: see README")
        .arg(QString::fromStdString(node), QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace shell
