#pragma once
// The user folder and default profile of a device kind as the command line names it; the
// cable and receiver connections of a product share them.

#include "ctl/CtlCommands.h"

#include <optional>
#include <string>

namespace ctl {

struct KindFolders {
    std::string userFolder; // ends in a path separator
    std::string defaultDocument;
    bool hasKeys = false;
};

// The folders the program uses for this kind's device; nullopt (reason written) when the kind
// is unknown or the folder cannot be made. *exitCode says how the command ends then.
std::optional<KindFolders> FoldersOf(const std::string& kind, const Output& output, int* exitCode);

} // namespace ctl
