#pragma once
// The headset's equaliser on a desktop that runs PipeWire: a filter-chain sink of ten peaking
// filters in front of the headset's sink. Programs that play into the sink
// "QUARIN Z17 headset equaliser" are heard through the filters on the headset. The chain lives
// in this process while the equaliser is on ("Enable_EQ_GFX" = 1) and goes away when it is
// turned off; a band change while it is on sets the filter's control, the chain is not built
// again.
//
// Bands, in the order of "EQ_Slider1" … "EQ_Slider10": 31, 62, 125, 250, 500 Hz, 1, 2, 4, 8,
// 16 kHz, each one octave wide (Q 1.41). A band's value is its gain in whole decibels,
// -12 … +12 (the panel's slider range); values outside are held at the nearest end.

#include "headset/AlsaHeadsetLibrary.h"

#include <array>
#include <memory>
#include <string>

namespace headset {

inline constexpr std::array<double, 10> kEqBandFrequencies = {31,   62,   125,  250,  500,
                                                              1000, 2000, 4000, 8000, 16000};
inline constexpr double kEqBandQ = 1.41;
inline constexpr int kEqGainLimit = 12;
inline constexpr const char* kEqualiserNodeName = "quarin_z17_equaliser";

class PipeWireEqualiser : public EqualiserSink {
public:
    // Null when no PipeWire daemon answers (the library then only keeps the values).
    static std::unique_ptr<PipeWireEqualiser> Connect();
    ~PipeWireEqualiser() override;

    void UseCard(int card) override;
    bool SetEnabled(bool on) override;
    bool SetBand(int band, int gain) override;

private:
    struct Connection;
    explicit PipeWireEqualiser(std::unique_ptr<Connection> connection);

    std::unique_ptr<Connection> m_pw;
};

} // namespace headset
