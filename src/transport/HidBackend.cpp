#include "transport/HidBackend.h"

#include "transport/HidrawBackend.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <string>

namespace transport {

namespace {

std::atomic<HidBackend*> g_backend{nullptr};

// Never destroyed: the scan thread may still be enumerating while the program exits.
HidBackend& HidrawInstance() {
    static HidrawBackend* const backend = new HidrawBackend;
    return *backend;
}

// ASCII only: paths are ASCII, and the locale's tolower costs a call per character on a path
// that every scan pass parses.
char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where `prefix` (lower case) starts in `path`, ignoring case; npos when absent.
std::size_t FindNoCase(const std::string& path, const char* prefix) {
    const std::size_t prefixLength = std::char_traits<char>::length(prefix);
    if (path.size() < prefixLength)
        return std::string::npos;
    for (std::size_t at = 0; at + prefixLength <= path.size(); ++at) {
        std::size_t i = 0;
        while (i < prefixLength && AsciiLower(path[at + i]) == prefix[i])
            ++i;
        if (i == prefixLength)
            return at;
    }
    return std::string::npos;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = AsciiLower(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The hexadecimal number after a four-character prefix, read the way "%x" reads it (leading
// white space, a sign and "0x" allowed, then every digit that follows); 0 without digits.
// Only the low 16 bits matter, so longer numbers wrap instead of overflowing.
std::uint16_t HexAfter(const std::string& path, const char* prefix) {
    const std::size_t at = FindNoCase(path, prefix);
    if (at == std::string::npos)
        return 0;
    const char* p = path.c_str() + at + 4;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && HexDigit(p[2]) >= 0)
        p += 2;
    std::uint16_t value = 0;
    for (; HexDigit(*p) >= 0; ++p)
        value = static_cast<std::uint16_t>(value * 16 + HexDigit(*p));
    return negative ? static_cast<std::uint16_t>(-value) : value;
}

} // namespace

HidBackend& DefaultHidBackend() {
    HidBackend* backend = g_backend.load();
    return backend ? *backend : HidrawInstance();
}

void SetDefaultHidBackend(HidBackend* backend) {
    g_backend.store(backend);
}

std::uint16_t PathVendorId(const std::string& path) {
    return HexAfter(path, "vid_");
}
std::uint16_t PathProductId(const std::string& path) {
    return HexAfter(path, "pid_");
}
std::uint16_t PathInterfaceNumber(const std::string& path) {
    return HexAfter(path, "&mi_");
}
std::uint16_t PathCollectionNumber(const std::string& path) {
    return HexAfter(path, "&col");
}

std::string MakeHidPath(const std::string& node, std::uint16_t vendorId, std::uint16_t productId,
                        std::uint16_t interfaceNumber, std::uint16_t collection) {
    char identity[48];
    std::snprintf(identity, sizeof identity, "?vid_%04x&pid_%04x&mi_%02x", vendorId, productId,
                  interfaceNumber);
    std::string path = node + identity;
    if (collection != 0) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "&col%02x", collection);
        path += suffix;
    }
    return path;
}

} // namespace transport
