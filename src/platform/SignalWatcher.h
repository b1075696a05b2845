#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a call on the UI thread, so that the program ends the
// same orderly way as through its "exit" menu item.

#include <functional>

namespace platform {

// Installs the handlers; onSignal runs on the thread of the Qt event loop.
void WatchTerminationSignals(std::function<void()> onSignal);

} // namespace platform
