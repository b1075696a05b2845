#pragma once
// What the tests of the headset's Linux library share: a /proc/asound tree of sound cards and
// the buffers of one property call.

#include "headset/AudioConfigLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class ProcTree {
public:
    ProcTree() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quarin-asound-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "no temporary folder";
        root = pattern;
    }
    ~ProcTree() { std::filesystem::remove_all(root); }
    void Card(const std::string& name, const std::string& usbId) const {
        std::filesystem::create_directories(root / name);
        if (!usbId.empty())
            std::ofstream(root / name / "usbid") << usbId << "\n";
    }
    std::filesystem::path root;
};

// A call's buffers: a written integer, or the text of a read.
struct Buffers {
    std::vector<char> primary = std::vector<char>(headset::kPropertyBufferSize, 0);
    void* pointer = primary.data();
    int Write(headset::AudioConfigLibrary& library, const wchar_t* property, std::int32_t value) {
        std::memcpy(primary.data(), &value, sizeof value);
        return library.PropertyControl({}, property, &pointer, nullptr, headset::kWrite);
    }
    int Read(headset::AudioConfigLibrary& library, const wchar_t* property) {
        return library.PropertyControl({}, property, &pointer, nullptr, headset::kRead);
    }
    std::string Text() const { return primary.data(); }
};
