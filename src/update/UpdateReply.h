#pragma once
// The update service's request and reply, apart from the transfer: the address and body of a
// query, and the update result read from what came back.

#include "update/UpdateEntry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace update {

// The service root followed by "api/updates"; a "/" is put between them when the root has no
// trailing one.
std::string UpdateServiceUrl(const std::string& serviceRoot);

// "app_key=KEY&version=%x" (hexadecimal entries) or "...&version=%d", in UTF-8. The key goes
// in as it is, without URL encoding, since the service reads it that way. The returned text
// ends with its terminating zero byte, which is sent too: its size is the UTF-8 length plus 1.
std::string UpdateRequestBody(const std::wstring& applicationKey, std::int32_t currentVersion,
                              bool hex);

// The result of one query whose HttpRequest returned `received` with `reply`:
// - 0: the reply's text ("NO_LINK_SERVER", or empty) becomes the name, the status stays 0;
// - a reply that is not a JSON object (comments allowed) leaves the status 0 as well;
// - otherwise "path", "name", "version_name", "version" and "device_id" are taken; the
//   server version is "V" and "version" for hexadecimal entries, "version_name" for decimal
//   ones; the status is 1 when the current version is below "version" (read in base 16 or
//   10), else 7.
// The local version ("V%04x" or "V%d" of the current version) is set in every case.
UpdateResult ReadUpdateReply(const std::vector<char>& reply, int received,
                             std::int32_t currentVersion, bool hex);

} // namespace update
