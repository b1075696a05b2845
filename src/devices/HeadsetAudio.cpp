#include "devices/HeadsetAudio.h"

#include "headset/AlsaHeadsetLibrary.h"
#include "headset/HeadsetProperties.h"
#include "headset/PipeWireEqualiser.h"
#include "platform/DebugLog.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

namespace devices {

namespace {

CHeadsetAudio::LibraryFactory& Factory() {
    static CHeadsetAudio::LibraryFactory factory = [] {
        // The equaliser changes the sound where PipeWire runs; elsewhere its values are kept.
        return std::make_unique<headset::AlsaHeadsetLibrary>("/proc/asound",
                                                             headset::PipeWireEqualiser::Connect());
    };
    return factory;
}

CHeadsetAudio::MessageSink& Messages() {
    static CHeadsetAudio::MessageSink sink;
    return sink;
}

} // namespace

std::optional<std::array<std::int32_t, 3>> ParseFeatureList(const std::string& text) {
    std::vector<std::int32_t> numbers;
    std::stringstream fields(text);
    std::string field;
    while (std::getline(fields, field, ','))
        numbers.push_back(static_cast<std::int32_t>(std::strtol(field.c_str(), nullptr, 10)));
    if (numbers.size() < 7)
        return std::nullopt;
    return std::array<std::int32_t, 3>{numbers[0], numbers[4], numbers[6]};
}

void CHeadsetAudio::SetLibraryFactory(LibraryFactory factory) {
    Factory() = std::move(factory);
}

void CHeadsetAudio::SetMessageSink(MessageSink sink) {
    Messages() = std::move(sink);
}

CHeadsetAudio& CHeadsetAudio::Process() {
    static CHeadsetAudio audio(Factory() ? Factory()() : nullptr);
    return audio;
}

CHeadsetAudio::CHeadsetAudio(std::unique_ptr<headset::AudioConfigLibrary> library)
    : m_owned(std::move(library)), m_library(m_owned.get()) {}

CHeadsetAudio::CHeadsetAudio(headset::AudioConfigLibrary* library) : m_library(library) {}

CHeadsetAudio::~CHeadsetAudio() = default;

AudioStart CHeadsetAudio::Start() {
    const std::lock_guard lock(m_mutex);
    if (m_started)
        return *m_started;
    if (!m_library)
        return *(m_started = AudioStart::kNoLibrary);
    const bool initFailed = m_library->ConfLibInit() != 0;
    if (initFailed) {
        platform::DebugLine(kConfLibInitFailed);
        if (Messages())
            Messages()(kConfLibInitFailed);
    }
    m_library->CreateDeviceList();
    // Headphones first, then the other playback endpoint types; the first capture endpoint.
    m_output = Choose(headset::kFlowPlayback, {1, 7, 4}, true);
    if (!m_output)
        return *(m_started = AudioStart::kNoPlayback);
    m_input = Choose(headset::kFlowCapture, {2}, false);
    ReadFeatures(*m_output);
    if (m_input)
        ReadFeatures(*m_input);
    return *(m_started = initFailed ? AudioStart::kInitFailed : AudioStart::kStarted);
}

std::optional<ChosenEndpoint>
CHeadsetAudio::Choose(int flow, std::initializer_list<std::uint32_t> types, bool activeOnly) {
    std::uint32_t count = 0;
    if (m_library->GetDeviceCount(flow, &count) != 0)
        return std::nullopt;
    for (std::uint32_t type : types) {
        for (std::uint32_t i = 0; i < count; ++i) {
            headset::AudioEndpoint endpoint;
            if (m_library->GetDeviceById(flow, i, &endpoint) != 0)
                continue;
            if (endpoint.type == type &&
                (!activeOnly || endpoint.state == headset::kEndpointActive))
                return ChosenEndpoint{endpoint, {}, false};
        }
    }
    return std::nullopt;
}

void CHeadsetAudio::ReadFeatures(ChosenEndpoint& endpoint) {
    const bool output = &endpoint == &*m_output;
    const std::optional<std::string> list = Read(output, headset::property::kSupportFeature);
    const auto features = list ? ParseFeatureList(*list) : std::nullopt;
    if (!features) {
        m_featureListFailed = true;
        platform::DebugLine(kFeatureListFailed);
        return;
    }
    endpoint.features = *features;
    endpoint.featuresRead = true;
}

int CHeadsetAudio::Call(bool output, const wchar_t* property, std::optional<std::int32_t> channel,
                        int direction) {
    const std::optional<ChosenEndpoint>& chosen = output ? m_output : m_input;
    if (!m_library || !chosen)
        return -1;
    void* primary = m_buffers[0].data();
    void* second = m_buffers[1].data();
    if (channel)
        std::memcpy(m_buffers[1].data(), &*channel, sizeof *channel);
    return m_library->PropertyControl(chosen->endpoint, property, &primary,
                                      channel ? &second : nullptr, direction);
}

std::optional<std::string> CHeadsetAudio::Read(bool output, const wchar_t* property,
                                               std::optional<std::int32_t> channel) {
    const std::lock_guard lock(m_mutex);
    m_buffers[0].fill('\0');
    if (Call(output, property, channel, headset::kRead) != 0)
        return std::nullopt;
    m_buffers[0].back() = '\0';
    return std::string(m_buffers[0].data());
}

std::optional<double> CHeadsetAudio::ReadNumber(bool output, const wchar_t* property,
                                                std::optional<std::int32_t> channel) {
    const std::optional<std::string> text = Read(output, property, channel);
    if (!text)
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    if (end == text->c_str())
        return std::nullopt;
    return value;
}

bool CHeadsetAudio::WriteInt(bool output, const wchar_t* property, std::int32_t value,
                             std::optional<std::int32_t> channel) {
    const std::lock_guard lock(m_mutex);
    std::memcpy(m_buffers[0].data(), &value, sizeof value);
    return Call(output, property, channel, headset::kWrite) == 0;
}

bool CHeadsetAudio::WriteFloat(bool output, const wchar_t* property, float value,
                               std::optional<std::int32_t> channel) {
    const std::lock_guard lock(m_mutex);
    std::memcpy(m_buffers[0].data(), &value, sizeof value);
    return Call(output, property, channel, headset::kWrite) == 0;
}

} // namespace devices
