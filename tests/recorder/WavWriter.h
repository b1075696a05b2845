#pragma once
// Writes test signals as WAV files: 16-bit PCM or 32-bit float, interleaved channels.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace recorder_test {

enum class WavSample { Pcm16, Float32 };

inline void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

inline void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(tag[i]));
}

// `interleaved` holds frames of `channels` samples in -1 .. 1.
inline std::vector<std::uint8_t> WavBytes(const std::vector<float>& interleaved, int channels,
                                          int rate, WavSample kind) {
    const int bytesPerSample = kind == WavSample::Pcm16 ? 2 : 4;
    const auto dataBytes = std::uint32_t(interleaved.size() * bytesPerSample);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    PutLe(out, 36 + dataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe(out, 16, 4);
    PutLe(out, kind == WavSample::Pcm16 ? 1 : 3, 2);
    PutLe(out, channels, 2);
    PutLe(out, rate, 4);
    PutLe(out, rate * channels * bytesPerSample, 4);
    PutLe(out, channels * bytesPerSample, 2);
    PutLe(out, bytesPerSample * 8, 2);
    PutTag(out, "data");
    PutLe(out, dataBytes, 4);
    for (float sample : interleaved) {
        if (kind == WavSample::Pcm16) {
            const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
            PutLe(out, std::uint32_t(std::int16_t(value)), 2);
        } else {
            std::uint32_t bits;
            std::memcpy(&bits, &sample, 4);
            PutLe(out, bits, 4);
        }
    }
    return out;
}

inline void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// `seconds` of a sine at `hz` with peak `amplitude`, starting at phase 0.
inline std::vector<float> Sine(double hz, double amplitude, int rate, double seconds) {
    std::vector<float> samples(std::size_t(rate * seconds));
    for (std::size_t n = 0; n < samples.size(); ++n)
        samples[n] = float(amplitude * std::sin(2 * std::numbers::pi * hz * n / rate));
    return samples;
}

// Sine bursts: `on` seconds of tone, `off` seconds of silence, `count` times.
inline std::vector<float> SineBursts(double hz, int rate, double on, double off, int count) {
    std::vector<float> samples;
    const std::vector<float> tone = Sine(hz, 0.5, rate, on);
    for (int i = 0; i < count; ++i) {
        samples.insert(samples.end(), tone.begin(), tone.end());
        samples.resize(samples.size() + std::size_t(rate * off), 0.0f);
    }
    return samples;
}

} // namespace recorder_test
