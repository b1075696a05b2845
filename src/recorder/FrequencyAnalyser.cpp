#include "recorder/FrequencyAnalyser.h"

#include <algorithm>
#include <cmath>
#include <fftw3.h>
#include <numbers>

namespace recorder {

namespace {

constexpr double kBlockSeconds = 0.043;
constexpr std::size_t kMinimumSize = 512;
std::size_t BlockSizeFor(int sampleRate) {
    const double wanted = kBlockSeconds * sampleRate;
    std::size_t size = kMinimumSize;
    while (size * 2 <= wanted)
        size *= 2;
    // `size` <= wanted < 2 * size: take whichever power of two is nearer.
    return wanted - size > 2 * size - wanted ? 2 * size : size;
}

} // namespace

FrequencyAnalyser::FrequencyAnalyser(int sampleRate)
    : sampleRate_(std::max(sampleRate, 1)), size_(BlockSizeFor(sampleRate_)),
      input_(fftwf_alloc_real(size_)), output_(fftwf_alloc_complex(size_ / 2 + 1)), window_(size_),
      power_(size_ / 2 + 1), binHz_(double(sampleRate_) / size_) {
    plan_ = fftwf_plan_dft_r2c_1d(static_cast<int>(size_), input_,
                                  static_cast<fftwf_complex*>(output_), FFTW_ESTIMATE);
    for (std::size_t n = 0; n < size_; ++n)
        window_[n] = static_cast<float>(0.5 - 0.5 * std::cos(2 * std::numbers::pi * n / size_));
    for (std::size_t i = 0; i <= kLayoutValues; ++i)
        edgeBins_[i] = LowerEdgeHz(i) / binHz_;
}

FrequencyAnalyser::~FrequencyAnalyser() {
    fftwf_destroy_plan(static_cast<fftwf_plan>(plan_));
    fftwf_free(output_);
    fftwf_free(input_);
}

double FrequencyAnalyser::CurveAt(double bin) const {
    const std::size_t last = size_ / 2;
    const auto below = std::min(static_cast<std::size_t>(bin), last - 1);
    const double t = std::clamp(bin - below, 0.0, 1.0);
    const double magnitude = (1 - t) * Magnitude(below) + t * Magnitude(below + 1);
    return magnitude * magnitude;
}

void FrequencyAnalyser::CreditPeak(std::size_t k,
                                   std::array<double, kSpectrumValues>& level) const {
    // For a Hann window the magnitudes of a tone at k + d in bins k - 1, k and k + 1 are
    // proportional to 2 - 3d + d^2, 4 - d^2 and 2 + 3d + d^2, so d follows exactly from them
    // (the spectrum's mirror image below 0 Hz disturbs this only in the lowest few bins).
    const double left = Magnitude(k - 1), centre = Magnitude(k), right = Magnitude(k + 1);
    const double offset = std::clamp(2 * (right - left) / (left + 2 * centre + right), -0.5, 0.5);
    const int i = ValueForFrequency((k + offset) * binHz_);
    if (i < 0)
        return;
    // The tone's power: bin k's corrected by the window's response at d.
    const double x = std::numbers::pi * offset;
    const double response =
        std::abs(offset) < 1e-9 ? 1.0 : std::sin(x) / (x * (1 - offset * offset));
    const double tone = power_[k] / (response * response);
    level[i] = std::max(level[i], tone);
}

void FrequencyAnalyser::Analyse(std::span<const float> block, SpectrumFrame& frame) {
    const std::size_t count = std::min(block.size(), size_);
    for (std::size_t n = 0; n < count; ++n)
        input_[n] = block[n] * window_[n];
    std::fill(input_ + count, input_ + size_, 0.0f);
    fftwf_execute(static_cast<fftwf_plan>(plan_));

    // A full-scale sine has |X| = sum(window) / 2 = size / 4 at its bin.
    const double norm = 16.0 / (double(size_) * double(size_));
    const auto* spectrum = static_cast<const fftwf_complex*>(output_);
    const std::size_t bins = size_ / 2 + 1;
    for (std::size_t k = 0; k < bins; ++k) {
        const double power = norm * (double(spectrum[k][0]) * spectrum[k][0] +
                                     double(spectrum[k][1]) * spectrum[k][1]);
        power_[k] = power;
    }

    std::array<double, kSpectrumValues> level{}; // normalised power; 0 past the layout
    const double nyquistBin = double(size_) / 2;
    for (std::size_t i = 0; i < kLayoutValues; ++i) {
        const double lo = edgeBins_[i];
        if (lo >= nyquistBin) {
            level[i] = 0;
            continue;
        }
        const double hi = std::min(edgeBins_[i + 1], nyquistBin);
        double best = std::max(CurveAt(lo), CurveAt(hi));
        for (auto k = static_cast<std::size_t>(std::ceil(lo)); k <= hi; ++k)
            best = std::max(best, power_[k]);
        level[i] = best;
    }
    // The top of a tone lies between bins; credit it to the value that holds its frequency.
    for (std::size_t k = 1; k + 1 < bins; ++k) {
        if (power_[k] > power_[k - 1] && power_[k] >= power_[k + 1])
            CreditPeak(k, level);
    }
    for (std::size_t i = 0; i < kSpectrumValues; ++i)
        frame[i] = level[i] > 0 ? ScaleDecibels(10.0 * std::log10(level[i])) : 0;
}

} // namespace recorder
