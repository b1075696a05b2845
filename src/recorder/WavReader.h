#pragma once
// Reads a PCM WAV file into mono samples: 16-bit integer or 32/64-bit float, one or more
// channels (mixed to one by their mean), any sample rate. The extensible format header
// (format tag 0xFFFE) is read by its sub-format. A data chunk that claims more bytes than
// the file holds (as streaming writers leave it) is read as far as the file goes.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace recorder {

struct WavAudio {
    int sampleRate = 0;
    int channels = 0;           // in the file; `samples` is always mono
    std::vector<float> samples; // -1 .. 1
};

// True with `audio` filled; false with the reason in `error` (not a RIFF/WAVE file, no "fmt "
// or "data" chunk, an unsupported format, a rate of 0, no sample frames).
bool ParseWav(std::span<const std::uint8_t> bytes, WavAudio& audio, std::string& error);
// Reads the file and parses it; an unreadable file is an error as well.
bool ReadWavFile(const std::string& path, WavAudio& audio, std::string& error);

} // namespace recorder
