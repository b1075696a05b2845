#pragma once
// The keyboard effects that the host treats on their own.

namespace devices::effect {

inline constexpr int kSpectrumCycle = 4;
inline constexpr int kCustomScheme = 20; // the per-key colour scheme; nothing animates
inline constexpr int kOff = 21;
inline constexpr int kFlash = 22;
inline constexpr int kReactive = 24; // starts with no key lit
inline constexpr int kBreathingFourColours = 26;
inline constexpr int kFlashFourColours = 27;
// The effects whose frames the host renders and streams: the music bars and ripples, and the
// colour the sound recorder gives.
inline constexpr int kMusic = 29;
inline constexpr int kMusicColour = 30;

} // namespace devices::effect
