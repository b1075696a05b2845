#pragma once
// A PipeWire daemon of the test's own: its socket in a temporary runtime folder (set for this
// process, so every client the test makes reaches it), one null sink that stands in for the
// headset's sink ("quarin-test-headset", ALSA card 7), and the session manager, which links
// streams to their targets.

#include <json/json.h>

#include <string>
#include <sys/types.h>

class PrivatePipeWire {
public:
    static constexpr const char* kHeadsetSink = "quarin-test-headset";
    static constexpr int kHeadsetCard = 7;

    PrivatePipeWire();
    ~PrivatePipeWire();
    PrivatePipeWire(const PrivatePipeWire&) = delete;
    PrivatePipeWire& operator=(const PrivatePipeWire&) = delete;

    // Why the daemon could not run here, or empty.
    const std::string& SkipReason() const { return m_skip; }
    // Why no session manager runs (streams then stay unlinked), or empty.
    const std::string& NoSessionManager() const { return m_noSessionManager; }
    // The daemon's objects as pw-dump prints them.
    Json::Value Dump() const;

private:
    std::string m_folder;
    std::string m_skip;
    std::string m_noSessionManager;
    pid_t m_daemon = -1;
    pid_t m_sessionManager = -1;
};

// The node object of pw-dump's objects named `name`, or null.
Json::Value FindNode(const Json::Value& dump, const std::string& name);
// The value of a node's control ("band_3:Gain") in its Props, or NaN.
double NodeControl(const Json::Value& node, const std::string& control);
// Whether a link goes from the node named `from` to the node named `to`.
bool Linked(const Json::Value& dump, const std::string& from, const std::string& to);
