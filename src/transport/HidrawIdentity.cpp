#include "transport/HidrawIdentity.h"

#include "transport/HidBackend.h"

namespace transport {

namespace {

// Reads hexadecimal digits from the front of `text`, consuming them; nullopt without any.
std::optional<std::uint32_t> TakeHex(std::string_view& text) {
    std::uint64_t value = 0;
    std::size_t used = 0;
    for (; used < text.size() && used < 8; ++used) {
        const char c = text[used];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = value * 16 + digit;
    }
    if (used == 0)
        return std::nullopt;
    text.remove_prefix(used);
    return static_cast<std::uint32_t>(value);
}

bool TakeChar(std::string_view& text, char expected) {
    if (text.empty() || text.front() != expected)
        return false;
    text.remove_prefix(1);
    return true;
}

} // namespace

std::optional<HidId> ParseHidId(std::string_view text) {
    const auto bus = TakeHex(text);
    if (!bus || !TakeChar(text, ':'))
        return std::nullopt;
    const auto vendor = TakeHex(text);
    if (!vendor || !TakeChar(text, ':'))
        return std::nullopt;
    const auto product = TakeHex(text);
    if (!product)
        return std::nullopt;
    HidId id;
    id.bus = static_cast<std::uint16_t>(*bus);
    id.vendorId = static_cast<std::uint16_t>(*vendor);
    id.productId = static_cast<std::uint16_t>(*product);
    if (TakeChar(text, '.')) {
        id.instance = TakeHex(text);
        if (!id.instance)
            return std::nullopt;
    }
    if (!text.empty())
        return std::nullopt;
    return id;
}

std::uint16_t ParseHexAttribute(const char* text) {
    if (!text)
        return 0;
    std::string_view view(text);
    while (!view.empty() && (view.back() == '\n' || view.back() == ' '))
        view.remove_suffix(1);
    const auto value = TakeHex(view);
    return value && view.empty() ? static_cast<std::uint16_t>(*value) : 0;
}

std::string_view LastPathComponent(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string NodeOfPath(const std::string& path) {
    return path.substr(0, path.find('?'));
}

std::vector<std::string> InterfacePaths(const std::string& node, const HidId& id,
                                        std::uint16_t interfaceNumber, std::size_t collections) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < collections; ++i)
        paths.push_back(MakeHidPath(node, id.vendorId, id.productId, interfaceNumber,
                                    collections > 1 ? static_cast<std::uint16_t>(i + 1) : 0));
    return paths;
}

} // namespace transport
