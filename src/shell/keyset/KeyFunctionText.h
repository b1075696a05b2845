#pragma once
// A key code in words, for the on-screen keys' tooltips: the key's name ("Volume Up"), a
// modifier with a key ("Ctrl + C"), or the name of the function ("Macro").

#include "devices/KeyCode.h"

#include <QString>

namespace shell::keyset {

// Text ids are turned into the current language's text.
QString KeyFunctionText(devices::KeyCode code);

} // namespace shell::keyset
