#include "headset/PipeWireEqualiser.h"

#include <pipewire/impl-module.h>
#include <pipewire/pipewire.h>
#include <spa/param/props.h>
#include <spa/pod/builder.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <sstream>

namespace headset {

namespace {

// How long a step of the daemon (a round trip, the chain's node appearing) may take.
constexpr int kAnswerSeconds = 2;

// A node of the daemon. A sink is bound to learn its ALSA card, which the registry does not
// tell.
struct Node {
    std::string name;
    std::string mediaClass;
    std::string card; // "api.alsa.card" of an ALSA sink
    pw_proxy* proxy = nullptr;
    spa_hook listener{};

    Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    ~Node() {
        if (proxy)
            pw_proxy_destroy(proxy);
    }
};

std::string Property(const spa_dict* props, const char* key) {
    const char* value = props ? spa_dict_lookup(props, key) : nullptr;
    return value ? value : "";
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::string GainControl(int band) {
    return "band_" + std::to_string(band + 1) + ":Gain";
}

// The filter-chain module's arguments: the ten filters one after the other, copied for each
// of the two channels by the module.
std::string ChainArguments(const std::array<int, 10>& gains, const std::string& target) {
    std::ostringstream args;
    args << "{ node.description = \"QUARIN Z17 headset equaliser\""
         << " media.name = \"QUARIN Z17 headset equaliser\""
         << " filter.graph = { nodes = [";
    for (int band = 0; band < 10; ++band)
        args << " { type = builtin name = band_" << band + 1 << " label = bq_peaking"
             << " control = { \"Freq\" = " << kEqBandFrequencies[band] << " \"Q\" = " << kEqBandQ
             << " \"Gain\" = " << gains[band] << " } }";
    args << " ] links = [";
    for (int band = 1; band < 10; ++band)
        args << " { output = \"band_" << band << ":Out\" input = \"band_" << band + 1 << ":In\" }";
    args << " ] }"
         << " audio.channels = 2 audio.position = [ FL FR ]"
         << " capture.props = { node.name = " << kEqualiserNodeName << " media.class = Audio/Sink }"
         << " playback.props = { node.name = " << kEqualiserNodeName << ".output"
         << " node.passive = true node.dont-reconnect = true target.object = " << Quoted(target)
         << " } }";
    return args.str();
}

} // namespace

// The daemon connection with its own loop thread. Every member is used with the loop's lock
// held: the public calls take it, the daemon's callbacks run with it.
struct PipeWireEqualiser::Connection {
    pw_thread_loop* loop = nullptr;
    pw_context* context = nullptr;
    pw_core* core = nullptr;
    pw_registry* registry = nullptr;
    spa_hook coreListener{};
    spa_hook registryListener{};
    int syncSeq = 0;
    int doneSeq = -1;
    bool disconnected = false;
    bool refused = false; // the daemon answered an error to the chain's node
    std::map<std::uint32_t, std::unique_ptr<Node>> nodes;

    pw_impl_module* chain = nullptr;
    pw_proxy* chainNode = nullptr;
    std::uint32_t chainNodeId = SPA_ID_INVALID;

    int card = -1;
    std::array<int, 10> gains{};

    ~Connection() {
        if (loop)
            pw_thread_loop_stop(loop);
        TearDownChain();
        nodes.clear();
        if (registry)
            pw_proxy_destroy(reinterpret_cast<pw_proxy*>(registry));
        if (core)
            pw_core_disconnect(core);
        if (context)
            pw_context_destroy(context);
        if (loop)
            pw_thread_loop_destroy(loop);
    }

    static void OnDone(void* data, std::uint32_t id, int seq) {
        auto* self = static_cast<Connection*>(data);
        if (id == PW_ID_CORE)
            self->doneSeq = seq;
        pw_thread_loop_signal(self->loop, false);
    }
    static void OnError(void* data, std::uint32_t id, int, int res, const char*) {
        auto* self = static_cast<Connection*>(data);
        if (id == PW_ID_CORE && res == -EPIPE)
            self->disconnected = true;
        if (self->chainNode && id == pw_proxy_get_id(self->chainNode))
            self->refused = true;
        pw_thread_loop_signal(self->loop, false);
    }
    static void OnGlobal(void* data, std::uint32_t id, std::uint32_t, const char* type,
                         std::uint32_t, const spa_dict* props) {
        if (std::string(type) != PW_TYPE_INTERFACE_Node)
            return;
        static const pw_node_events nodeEvents = [] {
            pw_node_events events{};
            events.version = PW_VERSION_NODE_EVENTS;
            events.info = OnNodeInfo;
            return events;
        }();
        auto* self = static_cast<Connection*>(data);
        auto node = std::make_unique<Node>();
        node->name = Property(props, PW_KEY_NODE_NAME);
        node->mediaClass = Property(props, PW_KEY_MEDIA_CLASS);
        if (node->mediaClass == "Audio/Sink" && node->name != kEqualiserNodeName) {
            node->proxy = static_cast<pw_proxy*>(
                pw_registry_bind(self->registry, id, PW_TYPE_INTERFACE_Node, PW_VERSION_NODE, 0));
            if (node->proxy)
                pw_proxy_add_object_listener(node->proxy, &node->listener, &nodeEvents, node.get());
        }
        self->nodes[id] = std::move(node);
        pw_thread_loop_signal(self->loop, false);
    }
    static void OnNodeInfo(void* data, const pw_node_info* info) {
        // Later infos (a state change) may come without the properties.
        if (info->change_mask & PW_NODE_CHANGE_MASK_PROPS)
            static_cast<Node*>(data)->card = Property(info->props, "api.alsa.card");
    }
    static void OnGlobalRemove(void* data, std::uint32_t id) {
        static_cast<Connection*>(data)->nodes.erase(id);
    }

    bool Connect() {
        static const pw_core_events coreEvents = [] {
            pw_core_events events{};
            events.version = PW_VERSION_CORE_EVENTS;
            events.done = OnDone;
            events.error = OnError;
            return events;
        }();
        static const pw_registry_events registryEvents = [] {
            pw_registry_events events{};
            events.version = PW_VERSION_REGISTRY_EVENTS;
            events.global = OnGlobal;
            events.global_remove = OnGlobalRemove;
            return events;
        }();
        loop = pw_thread_loop_new("quarin-equaliser", nullptr);
        if (!loop)
            return false;
        context = pw_context_new(pw_thread_loop_get_loop(loop), nullptr, 0);
        if (!context || pw_thread_loop_start(loop) != 0)
            return false;
        pw_thread_loop_lock(loop);
        core = pw_context_connect(context, nullptr, 0);
        if (core) {
            pw_core_add_listener(core, &coreListener, &coreEvents, this);
            registry = pw_core_get_registry(core, PW_VERSION_REGISTRY, 0);
        }
        if (registry)
            pw_registry_add_listener(registry, &registryListener, &registryEvents, this);
        const bool answered = registry && RoundTrip();
        pw_thread_loop_unlock(loop);
        return answered;
    }

    // Waits until the daemon has handled everything sent so far.
    bool RoundTrip() {
        syncSeq = pw_core_sync(core, PW_ID_CORE, syncSeq);
        while (doneSeq != syncSeq && !disconnected)
            if (pw_thread_loop_timed_wait(loop, kAnswerSeconds) != 0)
                return false;
        return !disconnected;
    }

    std::uint32_t FindNode(const std::string& name) const {
        for (const auto& [id, node] : nodes)
            if (node->name == name)
                return id;
        return SPA_ID_INVALID;
    }

    // The node name of the headset's sink, or empty.
    std::string HeadsetSink() const {
        if (card < 0)
            return "";
        for (const auto& [id, node] : nodes)
            if (node->mediaClass == "Audio/Sink" && node->card == std::to_string(card))
                return node->name;
        return "";
    }

    // Without the headset's sink there is nothing to put the chain in front of: the values
    // are kept and the chain is built when the equaliser is next turned on.
    bool BuildChain() {
        if (!RoundTrip())
            return false;
        const std::string target = HeadsetSink();
        if (target.empty())
            return true;
        chain = pw_context_load_module(context, "libpipewire-module-filter-chain",
                                       ChainArguments(gains, target).c_str(), nullptr);
        if (!chain)
            return false;
        // The module makes its nodes on the daemon; wait until the sink side is there.
        while (FindNode(kEqualiserNodeName) == SPA_ID_INVALID && !disconnected)
            if (pw_thread_loop_timed_wait(loop, kAnswerSeconds) != 0)
                break;
        chainNodeId = FindNode(kEqualiserNodeName);
        if (chainNodeId == SPA_ID_INVALID) {
            TearDownChain();
            return false;
        }
        chainNode = static_cast<pw_proxy*>(
            pw_registry_bind(registry, chainNodeId, PW_TYPE_INTERFACE_Node, PW_VERSION_NODE, 0));
        return chainNode && RoundTrip();
    }

    void TearDownChain() {
        if (chainNode)
            pw_proxy_destroy(chainNode);
        chainNode = nullptr;
        chainNodeId = SPA_ID_INVALID;
        if (chain)
            pw_impl_module_destroy(chain);
        chain = nullptr;
    }

    bool SetGainControl(int band) {
        std::uint8_t buffer[256];
        spa_pod_builder builder{};
        spa_pod_builder_init(&builder, buffer, sizeof buffer);
        spa_pod_frame object{}, params{};
        spa_pod_builder_push_object(&builder, &object, SPA_TYPE_OBJECT_Props, SPA_PARAM_Props);
        spa_pod_builder_prop(&builder, SPA_PROP_params, 0);
        spa_pod_builder_push_struct(&builder, &params);
        spa_pod_builder_string(&builder, GainControl(band).c_str());
        spa_pod_builder_float(&builder, static_cast<float>(gains[band]));
        spa_pod_builder_pop(&builder, &params);
        const auto* pod = static_cast<spa_pod*>(spa_pod_builder_pop(&builder, &object));
        refused = false;
        pw_node_set_param(reinterpret_cast<pw_node*>(chainNode), SPA_PARAM_Props, 0, pod);
        return RoundTrip() && !refused;
    }
};

std::unique_ptr<PipeWireEqualiser> PipeWireEqualiser::Connect() {
    static std::once_flag initialised;
    std::call_once(initialised, [] { pw_init(nullptr, nullptr); });
    auto connection = std::make_unique<Connection>();
    if (!connection->Connect())
        return nullptr;
    return std::unique_ptr<PipeWireEqualiser>(new PipeWireEqualiser(std::move(connection)));
}

PipeWireEqualiser::PipeWireEqualiser(std::unique_ptr<Connection> connection)
    : m_pw(std::move(connection)) {}

PipeWireEqualiser::~PipeWireEqualiser() = default;

void PipeWireEqualiser::UseCard(int card) {
    pw_thread_loop_lock(m_pw->loop);
    m_pw->card = card;
    pw_thread_loop_unlock(m_pw->loop);
}

bool PipeWireEqualiser::SetEnabled(bool on) {
    pw_thread_loop_lock(m_pw->loop);
    bool ok = true;
    if (on && !m_pw->chain)
        ok = !m_pw->disconnected && m_pw->BuildChain();
    else if (!on && m_pw->chain) {
        m_pw->TearDownChain();
        // Lets the chain's node leave the registry before it could be built again.
        m_pw->RoundTrip();
    }
    pw_thread_loop_unlock(m_pw->loop);
    return ok;
}

bool PipeWireEqualiser::SetBand(int band, int gain) {
    if (band < 0 || band >= 10)
        return false;
    pw_thread_loop_lock(m_pw->loop);
    const int previous = m_pw->gains[band];
    m_pw->gains[band] = std::clamp(gain, -kEqGainLimit, kEqGainLimit);
    bool ok = true;
    if (m_pw->chainNode)
        ok = m_pw->SetGainControl(band);
    if (!ok)
        m_pw->gains[band] = previous;
    pw_thread_loop_unlock(m_pw->loop);
    return ok;
}

} // namespace headset
