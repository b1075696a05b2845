#pragma once
// A damaged file (one that holds no document the program can use) is never simply written
// over: before its replacement is written it is renamed to NAME.broken-TIMESTAMP in the same
// folder, so that the user can still look into it or repair it.

#include "config/JsonFile.h"

#include <string>

namespace config {

// Renames the file at `path` to path + ".broken-" + a timestamp id. True when it was renamed
// or is not there; false (the file left where it is) when it cannot be renamed, in which
// case it must not be replaced.
bool SetDamagedFileAside(const std::string& path);

// Before a write replaces the file that `read` came from: sets it aside when it is there but
// holds no JSON object, since the write keeps nothing of it. False when it cannot be set aside.
bool KeepWhatIsReplaced(const std::string& path, const JsonRead& read);

} // namespace config
