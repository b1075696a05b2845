#include "shell/windows/SkinNotifier.h"

namespace shell {

SkinChangedNotifier& SkinNotifier() {
    // Never destroyed: receivers may still detach while the process ends.
    static auto* notifier = new SkinChangedNotifier;
    return *notifier;
}

} // namespace shell
