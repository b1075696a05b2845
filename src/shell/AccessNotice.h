#pragma once
// The line that tells the user why a plugged device does nothing: its hidraw node refuses to
// open, because the udev rule that gives the user access is not installed, or because another
// program (quarin-z17ctl, a second configurator) owns it. Told once per node: the collections
// of an interface share it.

#include <QString>

#include <set>
#include <string>

namespace shell {

class AccessNotice {
public:
    // The line for a refused path (error: the errno of the open), or an empty string when its
    // node has been told of already.
    QString Take(const std::string& path, int error);

private:
    std::set<std::string> m_toldNodes;
};

} // namespace shell
