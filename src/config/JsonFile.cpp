#include "config/JsonFile.h"

#include <json/writer.h>

#include "config/AtomicFile.h"
#include "platform/DebugLog.h"

#include <cerrno>
#include <cstdio>
#include <exception>
#include <json/reader.h>
#include <new>
#include <string_view>
#include <sys/stat.h>

namespace config {

namespace {

std::string ReadRegularFile(std::FILE* file) {
    struct stat info {};
    if (::fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    const auto size = static_cast<size_t>(info.st_size);
    std::string content;
    try {
        content.resize(size);
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (std::fread(content.data(), 1, size, file) != size)
        return {};
    return content;
}

} // namespace

std::string readjsonFile(const std::string& path) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    platform::DebugLog("readjsonFile 错误吗：：%d", errno);
    if (!file)
        return {};
    std::string content = ReadRegularFile(file);
    std::fclose(file);
    return content;
}

std::string readjsonFile(const std::wstring& path) {
    return readjsonFile(WideToUtf8(path));
}

Json::Value ReadJsonFile(const std::string& path) {
    const std::string text = readjsonFile(path);
    if (text.empty()) {
        platform::DebugLine(path);
        return Json::Value();
    }
    // Some editors (Notepad among them) start UTF-8 files with a byte order mark, which
    // Json::Reader does not skip.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const size_t start = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    Json::Value root;
    try {
        Json::Reader reader;
        if (!reader.parse(text.data() + start, text.data() + text.size(), root, true))
            return Json::Value();
    } catch (const std::exception&) {
        // jsoncpp throws instead of failing on documents nested deeper than its stack limit.
        return Json::Value();
    }
    return root;
}

Json::Value ReadJsonFile(const std::wstring& path) {
    return ReadJsonFile(WideToUtf8(path));
}

std::string StyledText(const Json::Value& value) {
    // The styled writer's layout: three-space indent, members in key order, a line end at the
    // end. (toStyledString indents with tabs in this jsoncpp.)
    return Json::StyledWriter().write(value);
}

bool WriteJsonFile(const std::string& path, const Json::Value& value) {
    return ReplaceFileContent(path, StyledText(value));
}

bool WriteJsonFile(const std::wstring& path, const Json::Value& value) {
    return WriteJsonFile(WideToUtf8(path), value);
}

} // namespace config
