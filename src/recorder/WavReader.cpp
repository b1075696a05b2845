#include "recorder/WavReader.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace recorder {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint16_t U16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

struct Format {
    std::uint16_t tag = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

bool ReadFormat(std::span<const std::uint8_t> chunk, Format& format, std::string& error) {
    if (chunk.size() < 16) {
        error = "the \"fmt \" chunk is too short";
        return false;
    }
    format.tag = U16(&chunk[0]);
    format.channels = U16(&chunk[2]);
    format.rate = static_cast<int>(U32(&chunk[4]));
    format.bits = U16(&chunk[14]);
    // The extensible header keeps the real format tag in the first two bytes of its GUID.
    if (format.tag == kFormatExtensible && chunk.size() >= 26)
        format.tag = U16(&chunk[24]);
    const bool pcm16 = format.tag == kFormatPcm && format.bits == 16;
    const bool floats = format.tag == kFormatFloat && (format.bits == 32 || format.bits == 64);
    if (!pcm16 && !floats) {
        error = "unsupported sample format (tag " + std::to_string(format.tag) + ", " +
                std::to_string(format.bits) + " bits); 16-bit PCM and float are read";
        return false;
    }
    if (format.channels == 0 || format.rate <= 0) {
        error = "the file has no channels or no sample rate";
        return false;
    }
    return true;
}

float SampleAt(const std::uint8_t* p, const Format& format) {
    if (format.tag == kFormatPcm)
        return static_cast<std::int16_t>(U16(p)) / 32768.0f;
    if (format.bits == 32) {
        const std::uint32_t bits = U32(p);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    const std::uint64_t bits = U32(p) | std::uint64_t(U32(p + 4)) << 32;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return static_cast<float>(value);
}

} // namespace

bool ParseWav(std::span<const std::uint8_t> bytes, WavAudio& audio, std::string& error) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        error = "not a RIFF/WAVE file";
        return false;
    }
    Format format;
    bool haveFormat = false;
    std::span<const std::uint8_t> data;
    bool haveData = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size() && !haveData) {
        const std::uint8_t* header = bytes.data() + at;
        const std::size_t declared = U32(header + 4);
        const std::size_t available = bytes.size() - at - 8;
        const auto body = bytes.subspan(at + 8, std::min(declared, available));
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (!ReadFormat(body, format, error))
                return false;
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            data = body;
            haveData = true;
        }
        // Chunks are padded to an even length.
        at += 8 + declared + (declared & 1);
    }
    if (!haveFormat || !haveData) {
        error = haveFormat ? "no \"data\" chunk" : "no \"fmt \" chunk before the data";
        return false;
    }
    const std::size_t sampleBytes = static_cast<std::size_t>(format.bits / 8);
    const std::size_t frameBytes = sampleBytes * format.channels;
    const std::size_t frames = data.size() / frameBytes;
    if (frames == 0) {
        error = "the file holds no samples";
        return false;
    }
    audio.sampleRate = format.rate;
    audio.channels = format.channels;
    audio.samples.resize(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        const std::uint8_t* frame = data.data() + f * frameBytes;
        float sum = 0;
        for (int c = 0; c < format.channels; ++c)
            sum += SampleAt(frame + c * sampleBytes, format);
        audio.samples[f] = sum / format.channels;
    }
    return true;
}

bool ReadWavFile(const std::string& path, WavAudio& audio, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    if (file.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return ParseWav(bytes, audio, error);
}

} // namespace recorder
