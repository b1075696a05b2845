#pragma once
// Turns the newest block of mono samples into one 500-value spectrum frame (layout and scale in
// FrequencyLayout.h).
//
// The block is Hann-windowed and transformed with a real FFT whose size is the power of two
// nearest to 43 ms of audio (2048 at 44.1 and 48 kHz: short enough for an onset
// to show within a frame or two). Magnitudes are normalised so that a
// full-scale sine reads 0 dB whatever the size. Below about 1 kHz a frame value is narrower
// than an FFT bin, so taking "the FFT bins a value covers" would leave most low values empty
// and put every tone in the value that happens to hold the nearest bin. Instead the
// magnitude between two bins is interpolated linearly (which never overshoots them), and each
// value is the maximum of that curve over its range: at its two edges and at every bin inside
// it. Each
// local maximum is also taken for a tone, whose frequency and level follow exactly from the
// three bins around it for a Hann window, and credited to the value holding that frequency.
// A tone therefore peaks in its own value, and wide high values report their loudest bin.
//
// Not thread-safe: one analyser per thread. Construction plans the FFT (FFTW's planner is not
// thread-safe either, so build analysers on one thread).

#include "recorder/FrequencyLayout.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace recorder {

using SpectrumFrame = std::array<std::int32_t, kSpectrumValues>;

class FrequencyAnalyser {
public:
    // `sampleRate` in Hz, at least 8000 (lower rates are analysed as 8000 would be: the FFT
    // keeps its minimum size of 512).
    explicit FrequencyAnalyser(int sampleRate);
    ~FrequencyAnalyser();
    FrequencyAnalyser(const FrequencyAnalyser&) = delete;
    FrequencyAnalyser& operator=(const FrequencyAnalyser&) = delete;

    // Number of samples a block must have: the FFT size.
    std::size_t BlockSize() const { return size_; }
    int SampleRate() const { return sampleRate_; }

    // The frame of `block`, oldest sample first, exactly BlockSize() samples in -1 .. 1.
    void Analyse(std::span<const float> block, SpectrumFrame& frame);

private:
    double CurveAt(double bin) const;
    double Magnitude(std::size_t bin) const { return std::sqrt(power_[bin]); }
    void CreditPeak(std::size_t bin, std::array<double, kSpectrumValues>& level) const;

    int sampleRate_;
    std::size_t size_;
    float* input_; // FFTW-aligned, size_ samples
    void* output_; // FFTW-aligned, size_/2 + 1 complex values
    void* plan_;
    std::vector<float> window_;
    std::vector<double> power_; // normalised: a full-scale sine on a bin gives 1
    // Per frame value: its range in FFT bin units.
    std::array<double, kLayoutValues + 1> edgeBins_{};
    double binHz_;
};

} // namespace recorder
