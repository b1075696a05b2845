#include "PrivatePipeWire.h"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kConfig = R"(
context.properties = { core.daemon = true core.name = pipewire-0 default.clock.rate = 48000 }
context.spa-libs = {
    audio.convert.* = audioconvert/libspa-audioconvert
    support.*       = support/libspa-support
}
context.modules = [
    { name = libpipewire-module-protocol-native }
    { name = libpipewire-module-access args = { } }
    { name = libpipewire-module-metadata }
    { name = libpipewire-module-spa-node-factory }
    { name = libpipewire-module-client-node }
    { name = libpipewire-module-client-device }
    { name = libpipewire-module-adapter }
    { name = libpipewire-module-link-factory }
    { name = libpipewire-module-session-manager }
]
context.objects = [
    { factory = adapter
      args = { factory.name = support.null-audio-sink node.name = "quarin-test-headset"
               media.class = Audio/Sink audio.position = [ FL FR ] api.alsa.card = 7 } }
]
)";

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        if (access((folders.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

pid_t Spawn(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The daemons' chatter would bury the test's own output.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

void Stop(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

std::string Output(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string text;
    char chunk[4096];
    while (pipe && std::fgets(chunk, sizeof chunk, pipe.get()))
        text += chunk;
    return text;
}

} // namespace

PrivatePipeWire::PrivatePipeWire() {
    for (const char* program : {"pipewire", "pw-dump"})
        if (!OnPath(program)) {
            m_skip = std::string(program) + " is not installed (scripts/install-deps installs it)";
            return;
        }
    std::string pattern = (fs::temp_directory_path() / "quarin-pipewire-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        m_skip = "no temporary folder for the daemon";
        return;
    }
    m_folder = pattern;
    std::ofstream(m_folder + "/pipewire.conf") << kConfig;
    setenv("XDG_RUNTIME_DIR", m_folder.c_str(), 1);
    setenv("PIPEWIRE_RUNTIME_DIR", m_folder.c_str(), 1);
    unsetenv("PIPEWIRE_REMOTE");
    m_daemon = Spawn({"pipewire", "-c", m_folder + "/pipewire.conf"});
    // The daemon is ready once a client sees the stand-in headset's sink (its socket comes
    // a little before it answers).
    bool ready = false;
    for (int i = 0; i < 100 && m_daemon >= 0 && !ready; ++i) {
        ready = fs::exists(m_folder + "/pipewire-0") && !FindNode(Dump(), kHeadsetSink).isNull();
        if (!ready)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!ready) {
        m_skip = "the PipeWire daemon did not start";
        return;
    }
    // The session manager needs a session bus (scripts/test runs the tests on one).
    if (!OnPath("wireplumber"))
        m_noSessionManager = "wireplumber is not installed";
    else if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        m_noSessionManager = "no session bus for wireplumber";
    else
        m_sessionManager = Spawn({"wireplumber"});
}

PrivatePipeWire::~PrivatePipeWire() {
    Stop(m_sessionManager);
    Stop(m_daemon);
    if (!m_folder.empty())
        fs::remove_all(m_folder);
}

Json::Value PrivatePipeWire::Dump() const {
    Json::Value dump;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::istringstream text(Output("pw-dump 2>/dev/null"));
    Json::parseFromStream(builder, text, &dump, &errors);
    return dump;
}

Json::Value FindNode(const Json::Value& dump, const std::string& name) {
    for (const Json::Value& object : dump)
        if (object["type"].asString() == "PipeWire:Interface:Node" &&
            object["info"]["props"]["node.name"].asString() == name)
            return object;
    return Json::Value();
}

double NodeControl(const Json::Value& node, const std::string& control) {
    for (const Json::Value& props : node["info"]["params"]["Props"]) {
        const Json::Value& params = props["params"];
        for (Json::ArrayIndex i = 0; i + 1 < params.size(); i += 2)
            if (params[i].asString() == control)
                return params[i + 1].asDouble();
    }
    return std::nan("");
}

bool Linked(const Json::Value& dump, const std::string& from, const std::string& to) {
    const Json::Value out = FindNode(dump, from), in = FindNode(dump, to);
    if (out.isNull() || in.isNull())
        return false;
    for (const Json::Value& object : dump)
        if (object["type"].asString() == "PipeWire:Interface:Link" &&
            object["info"]["output-node-id"] == out["id"] &&
            object["info"]["input-node-id"] == in["id"])
            return true;
    return false;
}
