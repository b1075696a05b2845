#pragma once

namespace shell {

// Registers the program's control classes with the control factory, in their order. Classes
// that are not part of the program yet have no create function and are skipped.
void RegisterProgramControls();

} // namespace shell
