// The recorder's reactions to the configurator's messages, the layouts of what it sends, and
// the WAV files it plays.

#include "recorder/RecorderProtocol.h"
#include "recorder/WavReader.h"
#include "recorder/WavWriter.h"

#include <gtest/gtest.h>

using namespace recorder;
using recorder_test::WavBytes;
using recorder_test::WavSample;

namespace {

std::vector<std::uint8_t> StyleColour(std::int32_t r, std::int32_t g, std::int32_t b) {
    std::vector<std::uint8_t> payload;
    payload.reserve(kStyleColourBytes);
    for (std::int32_t c : {r, g, b})
        recorder_test::PutLe(payload, std::uint32_t(c), 4);
    payload.resize(kStyleColourBytes, 0);
    return payload;
}

} // namespace

TEST(RecorderProtocol, HandshakeStartsAndShutdownStopsSending) {
    RecorderProtocol protocol;
    EXPECT_FALSE(protocol.OnMessage(kHandshakeBegin, 0x1234).startSending);
    EXPECT_FALSE(protocol.OnMessage(kHandshakeContinue, 0).startSending);
    EXPECT_FALSE(protocol.Sending());
    Reaction end = protocol.OnMessage(kHandshakeEnd, 0);
    EXPECT_TRUE(end.startSending);
    EXPECT_TRUE(protocol.Sending());
    // The configurator repeats the handshake when it lost sight of the recorder.
    EXPECT_FALSE(protocol.OnMessage(kHandshakeEnd, 0).startSending);

    Reaction stop = protocol.OnMessage(kShutdownBegin, 0);
    EXPECT_TRUE(stop.stopSending);
    EXPECT_FALSE(stop.exit);
    EXPECT_FALSE(protocol.Sending());
    EXPECT_FALSE(protocol.OnMessage(kShutdownContinue, 0).exit);
    Reaction last = protocol.OnMessage(kShutdownEnd, 0);
    EXPECT_TRUE(last.exit);
    EXPECT_FALSE(last.stopSending); // already stopped by 2
}

TEST(RecorderProtocol, ShutdownEndAloneStopsAndExits) {
    RecorderProtocol protocol;
    protocol.OnMessage(kHandshakeEnd, 0);
    const Reaction reaction = protocol.OnMessage(kShutdownEnd, 0);
    EXPECT_TRUE(reaction.stopSending);
    EXPECT_TRUE(reaction.exit);
    // 2 alone stops sending again after a new handshake.
    protocol.OnMessage(kHandshakeEnd, 0);
    EXPECT_TRUE(protocol.OnMessage(kShutdownBegin, 0).stopSending);
}

TEST(RecorderProtocol, ColourComponentsAreKeptAndSent) {
    RecorderProtocol protocol;
    EXPECT_TRUE(protocol.OnMessage(kSetRed, 10).sendColour);
    EXPECT_TRUE(protocol.OnMessage(kSetGreen, 0).sendColour);
    EXPECT_TRUE(protocol.OnMessage(kSetBlue, 255).sendColour);
    EXPECT_EQ(protocol.CurrentColour(), (Colour{10, 0, 255}));

    const Reaction tooBig = protocol.OnMessage(kSetGreen, 256);
    EXPECT_EQ(tooBig.error, Reaction::Error::ComponentOutOfRange);
    EXPECT_FALSE(tooBig.sendColour);
    EXPECT_EQ(protocol.CurrentColour(), (Colour{10, 0, 255}));
}

TEST(RecorderProtocol, UnknownCommandsAreRefused) {
    RecorderProtocol protocol;
    for (std::uint32_t command : {9u, 10u, 0xFFFFFFFFu})
        EXPECT_EQ(protocol.OnMessage(command, 0).error, Reaction::Error::UnknownCommand);
    EXPECT_FALSE(protocol.Sending());
}

TEST(RecorderProtocol, StyleColourIsAdoptedFrom40Bytes) {
    RecorderProtocol protocol;
    // What the configurator sends for style colour (0, 0, 200): green 0 goes as 1.
    const auto payload = StyleColour(0, 1, 200);
    ASSERT_EQ(payload[4], 1);
    ASSERT_EQ(payload[8], 0xC8);
    const Reaction reaction = protocol.OnCopyData(kStyleColourId, payload);
    EXPECT_EQ(reaction.error, Reaction::Error::None);
    EXPECT_TRUE(reaction.sendColour);
    EXPECT_EQ(protocol.CurrentColour(), (Colour{0, 1, 200}));
}

TEST(RecorderProtocol, StyleColourOfWrongIdSizeOrRangeIsRefusedUnchanged) {
    RecorderProtocol protocol;
    protocol.OnCopyData(kStyleColourId, StyleColour(1, 2, 3));
    auto shorter = StyleColour(9, 9, 9);
    shorter.pop_back();
    auto longer = StyleColour(9, 9, 9);
    longer.push_back(0);
    EXPECT_EQ(protocol.OnCopyData(kStyleColourId, shorter).error, Reaction::Error::WrongSize);
    EXPECT_EQ(protocol.OnCopyData(kStyleColourId, longer).error, Reaction::Error::WrongSize);
    EXPECT_EQ(protocol.OnCopyData(kStyleColourId, {}).error, Reaction::Error::WrongSize);
    EXPECT_EQ(protocol.OnCopyData(11, StyleColour(9, 9, 9)).error, Reaction::Error::UnknownData);
    EXPECT_EQ(protocol.OnCopyData(kSpectrumDataId, StyleColour(9, 9, 9)).error,
              Reaction::Error::UnknownData);
    EXPECT_EQ(protocol.OnCopyData(kStyleColourId, StyleColour(-1, 9, 9)).error,
              Reaction::Error::ComponentOutOfRange);
    EXPECT_EQ(protocol.OnCopyData(kStyleColourId, StyleColour(9, 9, 256)).error,
              Reaction::Error::ComponentOutOfRange);
    EXPECT_EQ(protocol.CurrentColour(), (Colour{1, 2, 3}));
}

TEST(RecorderPayloads, SpectrumIs500LittleEndianInt32) {
    SpectrumFrame frame{};
    frame[0] = 1;
    frame[1] = 0x01020304;
    frame[499] = kMaxValue;
    const auto bytes = EncodeSpectrum(frame);
    ASSERT_EQ(bytes.size(), 2000u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[4], 0x04);
    EXPECT_EQ(bytes[7], 0x01);
    EXPECT_EQ(bytes[1996], kMaxValue & 0xFF);
    EXPECT_EQ(bytes[1997], kMaxValue >> 8);
}

TEST(RecorderPayloads, ColourSettingsAreSixInt32) {
    const auto bytes = EncodeColourSettings({255, 128, 7});
    const std::array<std::uint8_t, 24> expected{255, 0, 0, 0, 128, 0, 0, 0, 7, 0, 0, 0,
                                                0,   0, 0, 0, 0,   0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bytes, expected);
}

TEST(WavReader, Mono16BitRoundTrips) {
    const std::vector<float> samples{0.0f, 0.5f, -0.5f, 1.0f, -1.0f};
    WavAudio audio;
    std::string error;
    ASSERT_TRUE(ParseWav(WavBytes(samples, 1, 22050, WavSample::Pcm16), audio, error)) << error;
    EXPECT_EQ(audio.sampleRate, 22050);
    EXPECT_EQ(audio.channels, 1);
    ASSERT_EQ(audio.samples.size(), samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i)
        EXPECT_NEAR(audio.samples[i], samples[i], 1.0 / 32768) << i;
}

TEST(WavReader, StereoFloatIsMixedToMono) {
    // Frames: (1, 0), (0.25, 0.75), (-1, 1).
    const std::vector<float> interleaved{1.0f, 0.0f, 0.25f, 0.75f, -1.0f, 1.0f};
    WavAudio audio;
    std::string error;
    ASSERT_TRUE(ParseWav(WavBytes(interleaved, 2, 96000, WavSample::Float32), audio, error));
    EXPECT_EQ(audio.sampleRate, 96000);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.samples, (std::vector<float>{0.5f, 0.5f, 0.0f}));
}

TEST(WavReader, ReadsAFileWrittenToDisk) {
    const std::string path = ::testing::TempDir() + "/recorder_tone.wav";
    recorder_test::WriteFile(
        path, WavBytes(recorder_test::Sine(440, 0.5, 44100, 0.1), 1, 44100, WavSample::Pcm16));
    WavAudio audio;
    std::string error;
    ASSERT_TRUE(ReadWavFile(path, audio, error)) << error;
    EXPECT_EQ(audio.samples.size(), 4410u);
    EXPECT_FALSE(ReadWavFile(path + ".missing", audio, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

TEST(WavReader, SkipsOtherChunksAndReadsExtensibleHeaders) {
    auto bytes = WavBytes({0.5f, -0.5f}, 1, 8000, WavSample::Pcm16);
    // A "LIST" chunk of odd length (padded) between "fmt " and "data".
    const std::vector<std::uint8_t> list{'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.begin() + 36, list.begin(), list.end());
    // The extensible format: tag 0xFFFE, the real tag (1) at the head of the sub-format.
    bytes[20] = 0xFE;
    bytes[21] = 0xFF;
    bytes[16] = 40; // fmt chunk size
    const std::vector<std::uint8_t> extension{
        22, 0, 16, 0, 4, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    bytes.insert(bytes.begin() + 36, extension.begin(), extension.end());
    WavAudio audio;
    std::string error;
    ASSERT_TRUE(ParseWav(bytes, audio, error)) << error;
    ASSERT_EQ(audio.samples.size(), 2u);
    EXPECT_NEAR(audio.samples[0], 0.5f, 1e-4);
}

TEST(WavReader, DataLongerThanTheFileIsReadAsFarAsItGoes) {
    auto bytes = WavBytes({0.25f, 0.25f, 0.25f}, 1, 8000, WavSample::Float32);
    for (int i = 40; i < 44; ++i)
        bytes[i] = 0xFF; // what a writer that streams leaves in the size
    bytes.pop_back();    // and half a sample at the end
    WavAudio audio;
    std::string error;
    ASSERT_TRUE(ParseWav(bytes, audio, error)) << error;
    EXPECT_EQ(audio.samples, (std::vector<float>{0.25f, 0.25f}));
}

TEST(WavReader, RefusesWhatItCannotPlay) {
    WavAudio audio;
    std::string error;
    EXPECT_FALSE(ParseWav(std::vector<std::uint8_t>{'R', 'I', 'F', 'F'}, audio, error));
    auto notWave = WavBytes({0.0f}, 1, 8000, WavSample::Pcm16);
    notWave[8] = 'A';
    EXPECT_FALSE(ParseWav(notWave, audio, error));
    EXPECT_EQ(error, "not a RIFF/WAVE file");

    auto eightBit = WavBytes({0.0f, 0.0f}, 1, 8000, WavSample::Pcm16);
    eightBit[34] = 8;
    EXPECT_FALSE(ParseWav(eightBit, audio, error));
    EXPECT_NE(error.find("unsupported"), std::string::npos);

    auto noRate = WavBytes({0.0f}, 1, 8000, WavSample::Pcm16);
    std::fill(noRate.begin() + 24, noRate.begin() + 28, 0);
    EXPECT_FALSE(ParseWav(noRate, audio, error));

    auto noData = WavBytes({}, 1, 8000, WavSample::Pcm16);
    EXPECT_FALSE(ParseWav(noData, audio, error));
    EXPECT_EQ(error, "the file holds no samples");
    noData.resize(36);
    EXPECT_FALSE(ParseWav(noData, audio, error));
    EXPECT_EQ(error, "no \"data\" chunk");
}
