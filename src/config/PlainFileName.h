#pragma once
// Names read from files that become part of a path (profile ids, macro and light-effect
// "Guid"s, language files): each must stay one file in the folder it is joined to, whatever a
// damaged or hostile file holds.

#include <string_view>

namespace config {

// Not empty, not "." or "..", no '/' or '\\', no control character.
bool IsPlainFileName(std::string_view name);

} // namespace config
