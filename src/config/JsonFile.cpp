#include "config/JsonFile.h"

#include <json/writer.h>

#include "config/AtomicFile.h"
#include "platform/DebugLog.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <json/reader.h>
#include <new>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace config {

namespace {

struct TextRead {
    std::string text;
    ReadState state = ReadState::kMissing;
    int error = 0;
};

TextRead Refused(ReadState state, int error = 0) {
    return {{}, state, error};
}

TextRead ReadOpenFile(int fd, std::size_t size) {
    TextRead read;
    try {
        read.text.resize(size);
    } catch (const std::bad_alloc&) {
        return Refused(ReadState::kUnreadable, ENOMEM);
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, read.text.data() + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Refused(ReadState::kUnreadable, errno);
        if (n == 0)
            return Refused(ReadState::kUnreadable, EIO); // shorter than it said it was
        done += static_cast<std::size_t>(n);
    }
    read.state = read.text.empty() ? ReadState::kDamaged : ReadState::kRead;
    return read;
}

// The file is looked at before it is opened: opening a FIFO would wait for a writer, and
// opening a device node may start the device.
TextRead ReadText(const std::string& path, std::size_t maxBytes) {
    struct stat info {};
    errno = 0;
    const bool found = ::stat(path.c_str(), &info) == 0;
    const bool regular = found && S_ISREG(info.st_mode);
    const int fd =
        regular ? ActiveFileCalls().open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK) : -1;
    const int error = errno;
    platform::DebugLog("readjsonFile 错误吗：：%d", error);
    if (found && !regular)
        return Refused(ReadState::kNotAFile);
    if (fd < 0)
        return Refused(error == ENOENT ? ReadState::kMissing : ReadState::kUnreadable, error);
    TextRead read;
    // Replaced by something else between the two looks.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        read = Refused(ReadState::kNotAFile);
    } else if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        read = Refused(ReadState::kTooLarge);
    } else {
        read = ReadOpenFile(fd, static_cast<std::size_t>(info.st_size));
    }
    ::close(fd);
    return read;
}

// Some editors (Notepad among them) start UTF-8 files with a byte order mark, which
// Json::Reader does not skip.
std::optional<Json::Value> Parse(const std::string& text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const size_t start = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    Json::Value root;
    try {
        Json::Reader reader;
        if (!reader.parse(text.data() + start, text.data() + text.size(), root, true))
            return std::nullopt;
    } catch (const std::exception&) {
        // jsoncpp throws instead of failing on documents nested deeper than its stack limit.
        return std::nullopt;
    }
    return root;
}

} // namespace

JsonRead ReadJsonDocument(const std::string& path, std::size_t maxBytes) {
    TextRead text = ReadText(path, maxBytes);
    if (text.state != ReadState::kRead) {
        platform::DebugLine(path);
        return {Json::Value(), text.state, text.error};
    }
    std::optional<Json::Value> document = Parse(text.text);
    if (!document)
        return {Json::Value(), ReadState::kDamaged, 0};
    return {std::move(*document), ReadState::kRead, 0};
}

std::string DescribeRefusedRead(const JsonRead& read) {
    switch (read.state) {
    case ReadState::kNotAFile:
        return "not a regular file";
    case ReadState::kTooLarge:
        return "too large";
    default:
        return std::strerror(read.error);
    }
}

std::string readjsonFile(const std::string& path) {
    return ReadText(path, std::numeric_limits<std::size_t>::max()).text;
}

std::string readjsonFile(const std::wstring& path) {
    return readjsonFile(WideToUtf8(path));
}

Json::Value ReadJsonFile(const std::string& path) {
    return ReadJsonDocument(path).document;
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
