#include "headset/VirtualHeadsetLibrary.h"

#include "headset/HeadsetProperties.h"
#include "headset/PropertyBuffers.h"

namespace headset {

namespace p = property;

VirtualHeadsetLibrary::VirtualHeadsetLibrary() {
    m_endpoints[kFlowPlayback] = {{1, 1, 0, kEndpointActive}};
    m_endpoints[kFlowCapture] = {{2, 2, 0, kEndpointActive}};
    // A fresh headset: microphone at 80 % of -12 … +30 dB, monitor off at 50 %, effects off.
    m_store.SetInitial(p::kMicMax, "30.00");
    m_store.SetInitial(p::kMicMin, "-12.00");
    m_store.SetInitial(p::kMicStep, "0.50");
    m_store.SetInitial(p::kMicVolume, "21.60");
    m_store.SetInitial(p::kMicScalar, "0.80");
    m_store.SetInitial(p::kMicMute, "0");
    m_store.SetInitial(p::kMonitorMax, "12.00");
    m_store.SetInitial(p::kMonitorMin, "-34.50");
    m_store.SetInitial(p::kMonitorStep, "1.50");
    m_store.SetInitial(p::kMonitorVolume, "-11.25");
    m_store.SetInitial(p::kMonitorScalar, "0.50");
    m_store.SetInitial(p::kMonitorMute, "1");
    m_store.KeepEffectsOff();
}

void VirtualHeadsetLibrary::SetEndpoints(int flow, std::vector<AudioEndpoint> endpoints) {
    if (flow == kFlowPlayback || flow == kFlowCapture)
        m_endpoints[flow] = std::move(endpoints);
}

int VirtualHeadsetLibrary::GetDeviceCount(int flow, std::uint32_t* count) {
    if (!count || (flow != kFlowPlayback && flow != kFlowCapture))
        return -1;
    *count = static_cast<std::uint32_t>(m_endpoints[flow].size());
    return 0;
}

int VirtualHeadsetLibrary::GetDeviceById(int flow, std::uint32_t index, AudioEndpoint* endpoint) {
    if (!endpoint || (flow != kFlowPlayback && flow != kFlowCapture) ||
        index >= m_endpoints[flow].size())
        return -1;
    *endpoint = m_endpoints[flow][index];
    return 0;
}

int VirtualHeadsetLibrary::PropertyControl(AudioEndpoint endpoint, const wchar_t* property,
                                           void** primary, void** second, int direction) {
    PropertyCall call;
    call.endpoint = endpoint;
    call.property = property ? property : L"";
    call.direction = direction;
    if (direction == kWrite) {
        if (IsScalarProperty(call.property))
            call.floatValue = TakeFloat(primary).value_or(0);
        else
            call.intValue = TakeInt(primary).value_or(0);
        if (const std::optional<std::int32_t> channel = TakeInt(second)) {
            call.hasChannel = true;
            call.channel = *channel;
        }
        call.result =
            m_failedWrites.count(call.property) ? -1 : m_store.Write(call.property, primary);
    } else {
        call.result =
            m_failedReads.count(call.property) ? -1 : m_store.Read(call.property, primary);
    }
    m_calls.push_back(call);
    return call.result;
}

std::vector<PropertyCall> VirtualHeadsetLibrary::Writes(const std::wstring& property) const {
    std::vector<PropertyCall> writes;
    for (const PropertyCall& call : m_calls)
        if (call.direction == kWrite && call.property == property)
            writes.push_back(call);
    return writes;
}

} // namespace headset
