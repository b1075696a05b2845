#pragma once
// What the fuzz targets share: a private work folder (on a memory file system when there is
// one), a check that ends the run with a message, and a reader of the input's bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <unistd.h>

namespace fuzz {

// Fails the run: libFuzzer keeps the input, the replay saves it.
inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// A folder of its own for the whole run, removed at exit; ends in a slash.
inline const std::string& WorkFolder() {
    static const std::string folder = [] {
        std::error_code error;
        std::filesystem::path root = std::filesystem::temp_directory_path();
        if (std::filesystem::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0)
            root = "/dev/shm";
        std::string made = (root / "quarin-fuzz-XXXXXX").string();
        if (!mkdtemp(made.data()))
            std::abort();
        static const std::string removeAtExit = made;
        std::atexit([] { std::filesystem::remove_all(removeAtExit); });
        return made + "/";
    }();
    return folder;
}

inline void WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Takes the input apart front to back; past its end every read gives zeros.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_at >= m_size; }
    std::size_t Left() const { return m_size - m_at; }
    std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
    std::uint32_t Long() { return Word() | static_cast<std::uint32_t>(Word()) << 16; }
    // Up to `count` bytes (fewer at the end).
    std::span<const std::uint8_t> Take(std::size_t count) {
        count = std::min(count, Left());
        const std::span<const std::uint8_t> piece(m_data + m_at, count);
        m_at += count;
        return piece;
    }
    std::span<const std::uint8_t> Rest() { return Take(Left()); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace fuzz
