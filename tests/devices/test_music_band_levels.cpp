// The spectrum's band levels: the change of four values per band (the fifth takes no part),
// the last level carried into the next, and every third message due at the keyboard.

#include "devices/MusicBandLevels.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using devices::MusicBandLevels;
using Spectrum = std::array<std::int32_t, devices::kSpectrumValues>;

TEST(MusicBandLevels, ABandIsTheChangeOfItsFirstFourValuesWithItsLastLevelCarried) {
    MusicBandLevels bands;
    Spectrum spectrum{};
    spectrum[0] = 100;
    spectrum[1] = -100; // a change is counted whatever its sign
    spectrum[3] = 200;
    spectrum[4] = 10000; // no part of band 0
    spectrum[5] = 40;    // band 1
    EXPECT_FALSE(bands.Take(spectrum));
    EXPECT_EQ(bands.Levels()[0], (100 + 100 + 200) / 4);
    EXPECT_EQ(bands.Levels()[1], 10);
    EXPECT_EQ(bands.Levels()[2], 0);

    // The same spectrum again changes nothing: the levels fall off by quarters.
    EXPECT_FALSE(bands.Take(spectrum));
    EXPECT_EQ(bands.Levels()[0], 100 / 4);
    EXPECT_EQ(bands.Levels()[1], 10 / 4);
    EXPECT_TRUE(bands.Take(spectrum)) << "the third message is handed on";
    EXPECT_EQ(bands.Levels()[0], 25 / 4);
    EXPECT_EQ(bands.Levels()[1], 0);
    EXPECT_FALSE(bands.Take(spectrum));
    EXPECT_FALSE(bands.Take(spectrum));
    EXPECT_TRUE(bands.Take(spectrum)) << "and every third after it";
}

TEST(MusicBandLevels, TheLastBandTakesValues120To123AndExtremesDoNotWrap) {
    MusicBandLevels bands;
    Spectrum spectrum{};
    spectrum[120] = 8;
    spectrum[124] = 8;
    spectrum[499] = 1000;
    bands.Take(spectrum);
    EXPECT_EQ(bands.Levels()[24], 2);

    Spectrum high{};
    Spectrum low{};
    for (std::size_t i = 0; i < high.size(); ++i) {
        high[i] = std::numeric_limits<std::int32_t>::max();
        low[i] = std::numeric_limits<std::int32_t>::min();
    }
    MusicBandLevels extreme;
    extreme.Take(high);
    extreme.Take(low);
    for (std::int32_t level : extreme.Levels())
        EXPECT_GE(level, 0);
}

} // namespace
