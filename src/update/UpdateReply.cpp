#include "update/UpdateReply.h"

#include "config/Utf8.h"

#include <json/json.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

namespace update {

std::string UpdateServiceUrl(const std::string& serviceRoot) {
    std::string url = serviceRoot;
    if (url.empty() || url.back() != '/')
        url += '/';
    return url + "api/" + "updates";
}

std::string UpdateRequestBody(const std::wstring& applicationKey, std::int32_t currentVersion,
                              bool hex) {
    char version[16] = {};
    if (hex)
        std::snprintf(version, sizeof version, "%x", static_cast<std::uint32_t>(currentVersion));
    else
        std::snprintf(version, sizeof version, "%d", currentVersion);
    std::string body = "app_key=" + config::WideToUtf8(applicationKey) + "&version=" + version;
    body.push_back('\0');
    return body;
}

namespace {

// The text of a member the service sends as a string; a number is taken in its decimal form.
std::string TextMember(const Json::Value& reply, const char* name) {
    const Json::Value& value = reply[name];
    if (value.isString())
        return value.asString();
    if (value.isIntegral())
        return value.isInt64() ? std::to_string(value.asInt64()) : std::to_string(value.asUInt64());
    return {};
}

bool ParseObject(const std::string& text, Json::Value* root) {
    Json::CharReaderBuilder builder;
    builder["allowComments"] = true;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    try {
        return reader->parse(text.data(), text.data() + text.size(), root, &errors) &&
               root->isObject();
    } catch (const std::exception&) {
        // jsoncpp throws instead of failing on replies nested deeper than its stack limit.
        return false;
    }
}

} // namespace

UpdateResult ReadUpdateReply(const std::vector<char>& reply, int received,
                             std::int32_t currentVersion, bool hex) {
    UpdateResult result;
    UpdateEntry entry;
    entry.numberFormat = hex ? 1 : 0;
    entry.currentVersion = currentVersion;
    result.localVersion = LocalVersionText(entry);

    // The reply is text: it ends at the first zero byte, if one comes before the end.
    const std::size_t size =
        received > 0 ? std::min(static_cast<std::size_t>(received), reply.size()) : reply.size();
    // (An empty reply has no data pointer to search, so no C string function sees it.)
    const auto end =
        std::find(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(size), '\0');
    const std::string text(reply.begin(), end);
    if (received <= 0) {
        if (received == 0)
            result.name = config::Utf8ToWide(text);
        return result;
    }

    Json::Value root;
    if (!ParseObject(text, &root))
        return result;
    const std::string version = TextMember(root, "version");
    result.downloadPath = config::Utf8ToWide(TextMember(root, "path"));
    result.name = config::Utf8ToWide(TextMember(root, "name"));
    result.versionName = config::Utf8ToWide(TextMember(root, "version_name"));
    result.deviceId = root["device_id"].isInt() ? root["device_id"].asInt() : 0;
    result.serverVersion = hex ? L"V" + config::Utf8ToWide(version) : result.versionName;
    const long serverNumber = std::strtol(version.c_str(), nullptr, hex ? 16 : 10);
    result.status = currentVersion < serverNumber ? kStatusNewer : kStatusCurrent;
    return result;
}

} // namespace update
