#pragma once
// The names of a device's profiles: how two names are compared (letter case ignored) and how
// the names of new, copied and imported profiles are chosen so that they differ from every
// name in the list.

#include <string>
#include <string_view>
#include <vector>

namespace config {

// Whether two UTF-8 names are equal when letter case is ignored (Latin, Greek and Cyrillic
// letters; other characters must be equal).
bool SameProfileName(std::string_view a, std::string_view b);
// Whether a name is empty once white space is removed from both ends.
bool IsBlankProfileName(std::string_view name);
// Whether any of `names` equals `name` when letter case is ignored.
bool NameTaken(std::string_view name, const std::vector<std::string>& names);

// "profile" followed by the lowest number from 1 whose name is free ("profile2" beside
// "profile1" and "Profile3").
std::string NewProfileName(const std::vector<std::string>& names);
// `source` + " copy", with " copy" added again while the name is taken ("A copy copy").
std::string CopyProfileName(const std::string& source, const std::vector<std::string>& names);
// `base`, with "(1)", "(2)", ... appended in turn while the name is taken; the suffixes
// accumulate ("game(1)(2)").
std::string ImportProfileName(const std::string& base, const std::vector<std::string>& names);

} // namespace config
