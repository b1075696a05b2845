// Feeds the update service's reply to the reader of update results. Input: a flags byte (the
// entry's number format, how the transfer ended), the entry's current version (four bytes, low
// first), then the reply as received.
//
// Beyond not crashing: the local version is the entry's in every case, a transfer that failed
// gives no status, and the fields taken from a reply, written into a reply of their own, read
// back as themselves (so no text changes on its way through the UTF-8 conversion).

#include "FuzzSupport.h"

#include "config/Utf8.h"
#include "update/UpdateReply.h"

#include <json/json.h>

#include <vector>

using fuzz::Require;

namespace {

std::vector<char> ReplyOf(const update::UpdateResult& result, const std::string& version) {
    Json::Value reply(Json::objectValue);
    reply["path"] = config::WideToUtf8(result.downloadPath);
    reply["name"] = config::WideToUtf8(result.name);
    reply["version_name"] = config::WideToUtf8(result.versionName);
    reply["version"] = version;
    reply["device_id"] = result.deviceId;
    const std::string text = Json::writeString(Json::StreamWriterBuilder(), reply);
    return {text.begin(), text.end()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const std::uint8_t flags = in.Byte();
    const bool hex = flags & 1;
    const auto current = static_cast<std::int32_t>(in.Long());
    const std::span<const std::uint8_t> rest = in.Rest();
    const std::vector<char> reply(rest.begin(), rest.end());
    // Mostly the whole reply; else a failed transfer (-1), none at all (0), or a count that is
    // not the buffer's.
    int received = static_cast<int>(reply.size());
    switch (flags >> 1 & 3) {
    case 1:
        received = -1;
        break;
    case 2:
        received = 0;
        break;
    case 3:
        received = static_cast<int>(flags >> 3) * 64;
        break;
    default:
        break;
    }

    update::UpdateEntry entry;
    entry.numberFormat = hex;
    entry.currentVersion = current;
    const update::UpdateResult result = update::ReadUpdateReply(reply, received, current, hex);
    Require(result.localVersion == update::LocalVersionText(entry),
            "the local version is not the entry's");
    Require(result.status == 0 || result.status == update::kStatusNewer ||
                result.status == update::kStatusCurrent,
            "the status is none of the reader's");
    if (received <= 0) {
        Require(result.status == 0, "a failed transfer has a status");
        return 0;
    }
    if (result.status == 0)
        return 0;
    if (hex)
        Require(result.serverVersion.starts_with(L"V"), "a hexadecimal server version has no V");

    const std::string version =
        hex ? config::WideToUtf8(result.serverVersion.substr(1)) : std::string("1");
    const update::UpdateResult again =
        update::ReadUpdateReply(ReplyOf(result, version), 1 << 30, current, hex);
    Require(again.downloadPath == result.downloadPath && again.name == result.name &&
                again.versionName == result.versionName && again.deviceId == result.deviceId,
            "the fields of a reply do not read back");
    if (hex)
        Require(again.serverVersion == result.serverVersion && again.status == result.status,
                "a hexadecimal version does not read back");

    const std::wstring key = config::Utf8ToWide(std::string(reply.begin(), reply.end()));
    const std::string body = update::UpdateRequestBody(key, current, hex);
    Require(!body.empty() && body.back() == '\0', "a request body does not end in its zero byte");
    return 0;
}
