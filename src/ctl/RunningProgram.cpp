#include "ctl/RunningProgram.h"

#include <dbus/dbus.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace ctl {

namespace {

constexpr const char* kBusName = "org.quarin.Z17Keyboard";
constexpr const char* kObjectPath = "/org/quarin/Z17Keyboard";
constexpr const char* kInterface = "org.quarin.Z17Keyboard";

// The session bus's address: the environment's, else the per-user socket where one exists.
// Never the autolaunch libdbus would try without either: a command that only looks for the
// configurator must not start a bus.
std::string SessionBusAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return address;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime)
        return {};
    const std::string socket = std::string(runtime) + "/bus";
    struct stat info {};
    if (::stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode))
        return {};
    return "unix:path=" + socket;
}

class Error {
public:
    Error() { dbus_error_init(&m_error); }
    ~Error() { dbus_error_free(&m_error); }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
    DBusError* operator&() { return &m_error; }
    bool IsSet() const { return dbus_error_is_set(&m_error); }
    bool Is(const char* name) const { return dbus_error_has_name(&m_error, name); }
    std::string Text() const {
        return std::string(m_error.name ? m_error.name : "") + ": " +
               (m_error.message ? m_error.message : "");
    }

private:
    DBusError m_error;
};

struct CloseConnection {
    void operator()(DBusConnection* connection) const {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
};
using Connection = std::unique_ptr<DBusConnection, CloseConnection>;

struct UnrefMessage {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, UnrefMessage>;

Connection ConnectToSessionBus() {
    const std::string address = SessionBusAddress();
    if (address.empty())
        return nullptr;
    Error error;
    Connection connection(dbus_connection_open_private(address.c_str(), &error));
    if (!connection)
        return nullptr;
    dbus_connection_set_exit_on_disconnect(connection.get(), FALSE);
    if (!dbus_bus_register(connection.get(), &error))
        return nullptr;
    return connection;
}

ForwardResult FailedWith(const std::string& error) {
    ForwardResult result;
    result.kind = ForwardResult::Kind::Failed;
    result.error = error;
    return result;
}

// The call; nullptr with the reason in `failure` when it cannot be built.
Message BuildCall(const std::vector<std::string>& args, bool json, std::string& failure) {
    Message call(dbus_message_new_method_call(kBusName, kObjectPath, kInterface, "RunCommand"));
    if (!call) {
        failure = "out of memory";
        return nullptr;
    }
    // A configurator that is not running is not started for a command.
    dbus_message_set_auto_start(call.get(), FALSE);
    DBusMessageIter iter;
    DBusMessageIter words;
    dbus_message_iter_init_append(call.get(), &iter);
    if (!dbus_message_iter_open_container(&iter, DBUS_TYPE_ARRAY, DBUS_TYPE_STRING_AS_STRING,
                                          &words)) {
        failure = "out of memory";
        return nullptr;
    }
    for (const std::string& arg : args) {
        // libdbus would abort on text that is not UTF-8; the bus carries nothing else.
        Error invalid;
        if (!dbus_validate_utf8(arg.c_str(), &invalid) || arg.find('\0') != std::string::npos) {
            dbus_message_iter_abandon_container(&iter, &words);
            failure = "the argument '" + arg + "' is not UTF-8 text, which D-Bus cannot carry";
            return nullptr;
        }
        const char* text = arg.c_str();
        if (!dbus_message_iter_append_basic(&words, DBUS_TYPE_STRING, &text)) {
            dbus_message_iter_abandon_container(&iter, &words);
            failure = "out of memory";
            return nullptr;
        }
    }
    const dbus_bool_t asJson = json ? TRUE : FALSE;
    if (!dbus_message_iter_close_container(&iter, &words) ||
        !dbus_message_iter_append_basic(&iter, DBUS_TYPE_BOOLEAN, &asJson)) {
        failure = "out of memory";
        return nullptr;
    }
    return call;
}

} // namespace

ForwardResult ForwardToRunningProgram(const std::vector<std::string>& args, bool json,
                                      int timeoutMs) {
    const Connection connection = ConnectToSessionBus();
    if (!connection)
        return {};
    Error error;
    if (!dbus_bus_name_has_owner(connection.get(), kBusName, &error))
        return error.IsSet() ? FailedWith(error.Text()) : ForwardResult{};
    std::string failure;
    const Message call = BuildCall(args, json, failure);
    if (!call)
        return FailedWith(failure);
    const Message reply(
        dbus_connection_send_with_reply_and_block(connection.get(), call.get(), timeoutMs, &error));
    if (!reply) {
        // It ended between the look-up and the call: nobody owns the devices now.
        if (error.Is(DBUS_ERROR_SERVICE_UNKNOWN) || error.Is(DBUS_ERROR_NAME_HAS_NO_OWNER))
            return {};
        return FailedWith(error.Text());
    }
    dbus_int32_t exitCode = 0;
    const char* out = nullptr;
    const char* err = nullptr;
    if (!dbus_message_get_args(reply.get(), &error, DBUS_TYPE_INT32, &exitCode, DBUS_TYPE_STRING,
                               &out, DBUS_TYPE_STRING, &err, DBUS_TYPE_INVALID))
        return FailedWith("its reply is not (iss): " + error.Text());
    ForwardResult result;
    result.kind = ForwardResult::Kind::Answered;
    result.run = {exitCode, out, err};
    return result;
}

std::vector<std::string> AbsoluteFileWords(std::vector<std::string> args) {
    const std::optional<std::size_t> file = FileWordIndex(args);
    if (!file || args[*file].empty() || args[*file][0] == '/')
        return args;
    std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    if (folder)
        args[*file] = std::string(folder.get()) + "/" + args[*file];
    return args;
}

} // namespace ctl
