#pragma once
// The property names of the headset's audio library.

namespace headset::property {

inline constexpr const wchar_t* kSupportFeature = L"GetSupportFeature";
// Microphone (capture endpoint): level in dB, level 0.00-1.00, mute, range in dB.
inline constexpr const wchar_t* kMicVolume = L"VolumeControl";
inline constexpr const wchar_t* kMicScalar = L"VolumeScalarControl";
inline constexpr const wchar_t* kMicMute = L"MuteControl";
inline constexpr const wchar_t* kMicMax = L"GetMaxVol";
inline constexpr const wchar_t* kMicMin = L"GetMinVol";
inline constexpr const wchar_t* kMicStep = L"GetVolStep";
// Monitor: the microphone heard in the headphones (capture endpoint, channel 0).
inline constexpr const wchar_t* kMonitorVolume = L"AAVolumeControl";
inline constexpr const wchar_t* kMonitorScalar = L"AAVolumeScalarControl";
inline constexpr const wchar_t* kMonitorMute = L"AAMuteControl";
inline constexpr const wchar_t* kMonitorMax = L"GetAAMaxVol";
inline constexpr const wchar_t* kMonitorMin = L"GetAAMinVol";
inline constexpr const wchar_t* kMonitorStep = L"GetAAVolStep";
// Voice effects and noise cancellation (capture endpoint).
inline constexpr const wchar_t* kMagicVoice = L"Enable_MAGICVOICE";
inline constexpr const wchar_t* kMagicVoiceSelection = L"MagicVoice_Selection";
inline constexpr const wchar_t* kMicEcho = L"Enable_MICECHO";
inline constexpr const wchar_t* kNoiseCancellation = L"Enable_ENC_LFX";
// Equaliser, room effect and surround (playback endpoint).
inline constexpr const wchar_t* kEqEnable = L"Enable_EQ_GFX";
inline constexpr const wchar_t* kEqBands[10] = {
    L"EQ_Slider1", L"EQ_Slider2", L"EQ_Slider3", L"EQ_Slider4", L"EQ_Slider5",
    L"EQ_Slider6", L"EQ_Slider7", L"EQ_Slider8", L"EQ_Slider9", L"EQ_Slider10"};
inline constexpr const wchar_t* kRoomEffect = L"Enable_RFX_GFX";
inline constexpr const wchar_t* kRoomEnvironment = L"RFX_ENVIRONMENT";
inline constexpr const wchar_t* kRoomSize = L"RFX_ROOMSIZE";
inline constexpr const wchar_t* kSurround = L"VirtualSurroundEffectControl";

} // namespace headset::property
