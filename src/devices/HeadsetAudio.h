#pragma once
// The headset's audio library as the program uses it: loaded, initialised and given its two
// endpoints once per process, then driven by named properties (headset/AudioConfigLibrary.h).
// The headset model reads and writes its settings through here.

#include "headset/AudioConfigLibrary.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace devices {

// An endpoint with the three feature numbers of its "GetSupportFeature" list.
struct ChosenEndpoint {
    headset::AudioEndpoint endpoint;
    std::array<std::int32_t, 3> features{};
    bool featuresRead = false;
};

enum class AudioStart {
    kStarted,    // endpoints chosen
    kInitFailed, // ConfLibInit failed ("ConfLibInit called failed!"); endpoints chosen
    kNoPlayback, // no playback endpoint: nothing else is done
    kNoLibrary,  // no library: nothing is read or written
};

inline constexpr const char* kConfLibInitFailed = "ConfLibInit called failed!";
inline constexpr const char* kFeatureListFailed = "UpdateAPOAvailable failed!";

// The first, fifth and seventh numbers of a feature list of at least seven; nothing for fewer.
std::optional<std::array<std::int32_t, 3>> ParseFeatureList(const std::string& text);

class CHeadsetAudio {
public:
    using LibraryFactory = std::function<std::unique_ptr<headset::AudioConfigLibrary>()>;
    // The library the process uses (the system's by default; the virtual headset's in the
    // demo); set before the first headset starts.
    static void SetLibraryFactory(LibraryFactory factory);
    // Where the process's audio start shows the user a failure ("ConfLibInit called failed!");
    // the main window sets it.
    using MessageSink = std::function<void(const char* text)>;
    static void SetMessageSink(MessageSink sink);
    static CHeadsetAudio& Process();

    explicit CHeadsetAudio(std::unique_ptr<headset::AudioConfigLibrary> library);
    // Over a library someone else owns (the tests' virtual headset).
    explicit CHeadsetAudio(headset::AudioConfigLibrary* library);
    ~CHeadsetAudio();

    // Once: ConfLibInit, CreateDeviceList, the endpoint choice and both feature lists. Later
    // calls return the first result.
    AudioStart Start();
    bool HasEndpoints() const { return m_output.has_value() && m_input.has_value(); }
    const std::optional<ChosenEndpoint>& Output() const { return m_output; }
    const std::optional<ChosenEndpoint>& Input() const { return m_input; }
    // "UpdateAPOAvailable failed!" was reported for a feature list.
    bool FeatureListFailed() const { return m_featureListFailed; }

    // Reads a property as text; nothing when there is no such endpoint or the read failed.
    // `channel` travels in the second buffer when given.
    std::optional<std::string> Read(bool output, const wchar_t* property,
                                    std::optional<std::int32_t> channel = std::nullopt);
    std::optional<double> ReadNumber(bool output, const wchar_t* property,
                                     std::optional<std::int32_t> channel = std::nullopt);
    bool WriteInt(bool output, const wchar_t* property, std::int32_t value,
                  std::optional<std::int32_t> channel = std::nullopt);
    bool WriteFloat(bool output, const wchar_t* property, float value,
                    std::optional<std::int32_t> channel = std::nullopt);

private:
    std::optional<ChosenEndpoint> Choose(int flow, std::initializer_list<std::uint32_t> types,
                                         bool activeOnly);
    void ReadFeatures(ChosenEndpoint& endpoint);
    int Call(bool output, const wchar_t* property, std::optional<std::int32_t> channel,
             int direction);

    std::unique_ptr<headset::AudioConfigLibrary> m_owned;
    headset::AudioConfigLibrary* m_library = nullptr;
    std::optional<AudioStart> m_started;
    std::optional<ChosenEndpoint> m_output;
    std::optional<ChosenEndpoint> m_input;
    bool m_featureListFailed = false;
    // The process's audio is used by the program's own panels and by the ctl commands it runs
    // for quarin-z17ctl, on another thread: one call at a time, buffers and start included.
    std::recursive_mutex m_mutex;
    // The four value buffers: primary and second value, read and written through pointers.
    std::array<std::array<char, headset::kPropertyBufferSize>, 4> m_buffers{};
};

} // namespace devices
