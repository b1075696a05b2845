#pragma once
// The virtual headset's audio library, for --demo and the tests: one headphone endpoint and
// one microphone endpoint (or the endpoints a test gives), every property kept in a store with
// the values a fresh headset reports, and a record of every property call.

#include "headset/AudioConfigLibrary.h"
#include "headset/PropertyStore.h"

#include <set>
#include <string>
#include <vector>

namespace headset {

struct PropertyCall {
    AudioEndpoint endpoint;
    std::wstring property;
    int direction = kRead;
    // Written values: the integer, or the float of a scalar volume; the channel when given.
    std::int32_t intValue = 0;
    float floatValue = 0;
    bool hasChannel = false;
    std::int32_t channel = 0;
    int result = 0;
};

class VirtualHeadsetLibrary : public AudioConfigLibrary {
public:
    VirtualHeadsetLibrary();

    int ConfLibInit() override { return m_initResult; }
    void CreateDeviceList() override { ++m_deviceListsCreated; }
    int GetDeviceCount(int flow, std::uint32_t* count) override;
    int GetDeviceById(int flow, std::uint32_t index, AudioEndpoint* endpoint) override;
    int PropertyControl(AudioEndpoint endpoint, const wchar_t* property, void** primary,
                        void** second, int direction) override;

    // ---- What a test sets up ----
    void SetInitResult(int result) { m_initResult = result; }
    void SetEndpoints(int flow, std::vector<AudioEndpoint> endpoints);
    void SetValue(const std::wstring& property, std::string text) {
        m_store.SetInitial(property, std::move(text));
    }
    // Reads of the property fail (as on a headset without it), or its writes do.
    void FailReads(const std::wstring& property) { m_failedReads.insert(property); }
    void FailWrites(const std::wstring& property) { m_failedWrites.insert(property); }

    // ---- What a test looks at ----
    const std::vector<PropertyCall>& Calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }
    // The writes of `property`, in order.
    std::vector<PropertyCall> Writes(const std::wstring& property) const;
    std::string Value(const std::wstring& property) const { return m_store.Text(property); }
    int DeviceListsCreated() const { return m_deviceListsCreated; }

private:
    int m_initResult = 0;
    int m_deviceListsCreated = 0;
    std::vector<AudioEndpoint> m_endpoints[2];
    PropertyStore m_store;
    std::set<std::wstring> m_failedReads;
    std::set<std::wstring> m_failedWrites;
    std::vector<PropertyCall> m_calls;
};

} // namespace headset
