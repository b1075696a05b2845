// The analysis: where frequencies land among the 500 values, the scale, silence, and the
// input's sample rate; and the ring the capture and the analysis share.

#include "recorder/FrequencyAnalyser.h"
#include "recorder/FrequencyLayout.h"
#include "recorder/SampleRing.h"
#include "recorder/WavWriter.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

using namespace recorder;

namespace {

SpectrumFrame AnalyseSine(double hz, double amplitude, int rate) {
    FrequencyAnalyser analyser(rate);
    const std::vector<float> block =
        recorder_test::Sine(hz, amplitude, rate, double(analyser.BlockSize()) / rate + 0.01);
    SpectrumFrame frame;
    analyser.Analyse(std::span(block).first(analyser.BlockSize()), frame);
    return frame;
}

int Loudest(const SpectrumFrame& frame) {
    return int(std::max_element(frame.begin(), frame.end()) - frame.begin());
}

} // namespace

TEST(FrequencyLayout, RunsLogarithmicallyFrom20HzTo20kHz) {
    EXPECT_DOUBLE_EQ(LowerEdgeHz(0), 20.0);
    EXPECT_NEAR(LowerEdgeHz(kLayoutValues), 20000.0, 1e-6);
    // 125 / 3 values per decade.
    EXPECT_NEAR(std::log10(LowerEdgeHz(100) / LowerEdgeHz(25)), 75.0 * 3 / 125, 1e-12);
    EXPECT_NEAR(LowerEdgeHz(50), 316.9786, 1e-3);
    EXPECT_EQ(ValueForFrequency(100.0), 29);
    EXPECT_EQ(ValueForFrequency(1000.0), 70);
    EXPECT_EQ(ValueForFrequency(20.0), 0);
    EXPECT_EQ(ValueForFrequency(19999.0), 124);
    EXPECT_EQ(ValueForFrequency(19.9), -1);
    EXPECT_EQ(ValueForFrequency(20000.0), -1);
    // A frequency on an edge belongs to the value that starts there.
    for (std::size_t i : {1u, 29u, 70u, 124u})
        EXPECT_EQ(ValueForFrequency(LowerEdgeHz(i)), int(i)) << i;
}

TEST(FrequencyLayout, ScalesDecibelsAboveTheFloor) {
    EXPECT_EQ(ScaleDecibels(0.0), kMaxValue);
    EXPECT_EQ(ScaleDecibels(6.0), kMaxValue);
    EXPECT_EQ(ScaleDecibels(-40.0), 1250);
    EXPECT_EQ(ScaleDecibels(-89.8), 5);
    EXPECT_EQ(ScaleDecibels(kFloorDb), 0);
    EXPECT_EQ(ScaleDecibels(-300.0), 0);
    EXPECT_EQ(ScaleDecibels(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(ScaleDecibels(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(FrequencyAnalyser, BlockIsAbout43MillisecondsAsAPowerOfTwo) {
    EXPECT_EQ(FrequencyAnalyser(48000).BlockSize(), 2048u);
    EXPECT_EQ(FrequencyAnalyser(44100).BlockSize(), 2048u);
    EXPECT_EQ(FrequencyAnalyser(96000).BlockSize(), 4096u);
    EXPECT_EQ(FrequencyAnalyser(22050).BlockSize(), 1024u);
    EXPECT_EQ(FrequencyAnalyser(8000).BlockSize(), 512u);
    EXPECT_EQ(FrequencyAnalyser(100).BlockSize(), 512u);
}

TEST(FrequencyAnalyser, ToneOf1kHzPeaksInItsValue) {
    const SpectrumFrame frame = AnalyseSine(1000.0, 0.5, 48000);
    EXPECT_EQ(Loudest(frame), ValueForFrequency(1000.0));
    // Half of full scale is -6 dB: 84 dB above the floor.
    EXPECT_NEAR(frame[ValueForFrequency(1000.0)], ScaleDecibels(-6.02), 25);
    // Past the values the keyboard's bands read, nothing.
    EXPECT_TRUE(
        std::all_of(frame.begin() + kLayoutValues, frame.end(), [](int v) { return v == 0; }));
    // Far from the tone the window's leakage stays under the floor.
    EXPECT_EQ(frame[ValueForFrequency(100.0)], 0);
    EXPECT_EQ(frame[ValueForFrequency(10000.0)], 0);
}

TEST(FrequencyAnalyser, ToneOf100HzPeaksInItsValueThoughNarrowerThanABin) {
    // At 100 Hz a value is 5.6 Hz wide, an FFT bin 23.4 Hz.
    const SpectrumFrame frame = AnalyseSine(100.0, 0.5, 48000);
    EXPECT_EQ(Loudest(frame), ValueForFrequency(100.0));
    EXPECT_NEAR(frame[ValueForFrequency(100.0)], ScaleDecibels(-6.02), 25);
}

TEST(FrequencyAnalyser, EveryToneFromBassToTrebleLandsInOrNextToItsValue) {
    // Middles of values land exactly; anywhere else the estimate of a tone's frequency between
    // bins may reach into the neighbour when the tone sits within a few percent of an edge.
    // Below 40 Hz, within two bins of 0 Hz, the spectrum's mirror image blurs the estimate.
    for (int rate : {44100, 48000, 96000}) {
        for (std::size_t i = std::size_t(ValueForFrequency(40.0)); i < kLayoutValues - 2; i += 2) {
            const double middle = std::sqrt(LowerEdgeHz(i) * LowerEdgeHz(i + 1));
            const SpectrumFrame frame = AnalyseSine(middle, 0.3, rate);
            EXPECT_EQ(Loudest(frame), int(i)) << middle << " Hz at " << rate;
        }
        for (double hz = 40.0; hz < 18000.0; hz *= 1.37) {
            const SpectrumFrame frame = AnalyseSine(hz, 0.3, rate);
            EXPECT_LE(std::abs(Loudest(frame) - ValueForFrequency(hz)), 1)
                << hz << " Hz at " << rate;
        }
    }
}

TEST(FrequencyAnalyser, TwoTonesShowAsTwoPeaks) {
    FrequencyAnalyser analyser(44100);
    std::vector<float> block = recorder_test::Sine(100.0, 0.25, 44100, 0.1);
    const std::vector<float> treble = recorder_test::Sine(5000.0, 0.025, 44100, 0.1);
    for (std::size_t n = 0; n < block.size(); ++n)
        block[n] += treble[n];
    SpectrumFrame frame;
    analyser.Analyse(std::span(block).first(analyser.BlockSize()), frame);
    const int bass = ValueForFrequency(100.0), high = ValueForFrequency(5000.0);
    EXPECT_EQ(Loudest(frame), bass);
    EXPECT_EQ(std::max_element(frame.begin() + bass + 30, frame.end()) - frame.begin(), high);
    EXPECT_NEAR(frame[bass] - frame[high], 20 * kUnitsPerDb, 10); // a tenth of the amplitude
}

TEST(FrequencyAnalyser, LevelFollowsTheToneInDecibels) {
    const int loud = AnalyseSine(2000.0, 1.0, 48000)[ValueForFrequency(2000.0)];
    const int quiet = AnalyseSine(2000.0, 0.01, 48000)[ValueForFrequency(2000.0)];
    EXPECT_NEAR(loud, kMaxValue, 25);
    // 40 dB less.
    EXPECT_NEAR(loud - quiet, 40 * kUnitsPerDb, 10);
    // Far below the floor nothing shows.
    const SpectrumFrame faint = AnalyseSine(2000.0, 1e-6, 48000);
    EXPECT_EQ(*std::max_element(faint.begin(), faint.end()), 0);
}

TEST(FrequencyAnalyser, SilenceGivesAllZeros) {
    FrequencyAnalyser analyser(48000);
    const std::vector<float> block(analyser.BlockSize(), 0.0f);
    SpectrumFrame frame;
    frame.fill(-1);
    analyser.Analyse(block, frame);
    EXPECT_TRUE(std::all_of(frame.begin(), frame.end(), [](int v) { return v == 0; }));
}

TEST(FrequencyAnalyser, ValuesAboveNyquistStayZero) {
    // At 8 kHz only values up to 4 kHz can hold anything, even with full-scale noise.
    FrequencyAnalyser analyser(8000);
    std::vector<float> block(analyser.BlockSize());
    std::uint32_t seed = 1;
    for (float& sample : block) {
        seed = seed * 1664525u + 1013904223u;
        sample = float(seed) / 4294967296.0f * 2 - 1;
    }
    SpectrumFrame frame;
    analyser.Analyse(block, frame);
    const int lastBelowNyquist = ValueForFrequency(4000.0);
    EXPECT_GT(*std::max_element(frame.begin(), frame.begin() + lastBelowNyquist), 1000);
    EXPECT_TRUE(std::all_of(frame.begin() + lastBelowNyquist + 1, frame.end(),
                            [](int v) { return v == 0; }));
}

TEST(FrequencyAnalyser, ShortBlockIsPaddedWithSilence) {
    FrequencyAnalyser analyser(48000);
    const std::vector<float> tone = recorder_test::Sine(1000.0, 0.5, 48000, 0.05);
    SpectrumFrame frame;
    analyser.Analyse(tone, frame);
    EXPECT_NEAR(Loudest(frame), ValueForFrequency(1000.0), 1);
}

TEST(SampleRing, GivesTheNewestSamplesOldestFirst) {
    SampleRing ring(4);
    std::vector<float> out(3, -1.0f);
    ring.CopyNewest(out);
    EXPECT_EQ(out, (std::vector<float>{0, 0, 0})); // nothing written yet

    const std::vector<float> first{1, 2, 3};
    ring.Push(first);
    ring.CopyNewest(out);
    EXPECT_EQ(out, (std::vector<float>{1, 2, 3}));

    const std::vector<float> second{4, 5, 6}; // wraps around
    ring.Push(second);
    std::vector<float> all(4);
    ring.CopyNewest(all);
    EXPECT_EQ(all, (std::vector<float>{3, 4, 5, 6}));
}

TEST(SampleRing, KeepsOnlyTheNewestOfALongPush) {
    SampleRing ring(3);
    const std::vector<float> many{1, 2, 3, 4, 5, 6, 7};
    ring.Push(many);
    std::vector<float> out(5, -1.0f);
    ring.CopyNewest(out); // more than it holds: the older part reads as silence
    EXPECT_EQ(out, (std::vector<float>{0, 0, 5, 6, 7}));
    ring.Clear();
    ring.CopyNewest(out);
    EXPECT_EQ(out, (std::vector<float>{0, 0, 0, 0, 0}));
}
