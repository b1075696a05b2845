#include "recorder/PulseCapture.h"

#include <pulse/pulseaudio.h>

#include <span>

namespace recorder {

namespace {

constexpr const char* kClientName = "QUARIN Z17 music lighting";
constexpr std::uint32_t kFragmentBytes = PulseCapture::kSampleRate / 100 * sizeof(float);

std::string ContextError(pa_context* context) {
    return pa_strerror(pa_context_errno(context));
}

// Holds libpulse's loop lock for a scope; callbacks run under the same lock.
class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop); }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

} // namespace

PulseCapture::PulseCapture(std::string source) : source_(std::move(source)) {}

PulseCapture::~PulseCapture() {
    if (!loop_)
        return;
    Stop();
    {
        LoopLock lock(loop_);
        if (context_) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
            pa_context_unref(context_);
        }
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

bool PulseCapture::Connect(std::string& error) {
    loop_ = pa_threaded_mainloop_new();
    if (!loop_) {
        error = "cannot create the sound server connection";
        return false;
    }
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "org.quarin.Z17Keyboard.AudioRecord");
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "music");
    context_ =
        pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), kClientName, properties);
    pa_proplist_free(properties);
    pa_context_set_state_callback(context_, &PulseCapture::OnContextState, this);
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        error = "cannot reach the sound server: " + ContextError(context_);
        return false;
    }
    if (pa_threaded_mainloop_start(loop_) < 0) {
        error = "cannot start the sound server thread";
        return false;
    }
    return WaitForContext(error);
}

bool PulseCapture::WaitForContext(std::string& error) {
    LoopLock lock(loop_);
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(context_);
        if (state == PA_CONTEXT_READY) {
            ready_ = true;
            return true;
        }
        if (!PA_CONTEXT_IS_GOOD(state)) {
            error = "cannot reach the sound server: " + ContextError(context_);
            return false;
        }
        pa_threaded_mainloop_wait(loop_);
    }
}

void PulseCapture::OnContextState(pa_context* context, void* data) {
    auto* self = static_cast<PulseCapture*>(data);
    if (self->ready_ && !PA_CONTEXT_IS_GOOD(pa_context_get_state(context)))
        self->Fail("the sound server went away: " + ContextError(context));
    pa_threaded_mainloop_signal(self->loop_, 0);
}

void PulseCapture::OnStreamState(pa_stream* stream, void* data) {
    auto* self = static_cast<PulseCapture*>(data);
    if (self->ring_ && !PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
        self->Fail("capture of " + self->active_ + " ended: " + ContextError(self->context_));
    pa_threaded_mainloop_signal(self->loop_, 0);
}

void PulseCapture::OnRead(pa_stream* stream, size_t, void* data) {
    auto* self = static_cast<PulseCapture*>(data);
    const void* samples = nullptr;
    size_t bytes = 0;
    while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &samples, &bytes) == 0 &&
           bytes > 0) {
        // A hole (no data) is skipped; the ring keeps what came before it.
        if (samples && self->ring_)
            self->ring_->Push(std::span(static_cast<const float*>(samples), bytes / sizeof(float)));
        pa_stream_drop(stream);
    }
}

void PulseCapture::Fail(const std::string& reason) {
    if (failed_)
        return;
    failed_ = true;
    if (onFailure)
        onFailure(reason);
}

std::string PulseCapture::DefaultMonitor(std::string& error) {
    struct Query {
        pa_threaded_mainloop* loop;
        std::string sink;
        bool done = false;
    } query{loop_, {}};
    pa_operation* operation = pa_context_get_server_info(
        context_,
        [](pa_context*, const pa_server_info* info, void* data) {
            auto* q = static_cast<Query*>(data);
            if (info && info->default_sink_name)
                q->sink = info->default_sink_name;
            q->done = true;
            pa_threaded_mainloop_signal(q->loop, 0);
        },
        &query);
    if (!operation) {
        error = "cannot ask the sound server for its default output: " + ContextError(context_);
        return {};
    }
    while (!query.done && pa_operation_get_state(operation) == PA_OPERATION_RUNNING)
        pa_threaded_mainloop_wait(loop_);
    pa_operation_unref(operation);
    if (query.sink.empty()) {
        error = "the sound server has no default output";
        return {};
    }
    return query.sink + ".monitor";
}

bool PulseCapture::Start(SampleRing& ring, std::string& error) {
    if (!ready_) {
        error = "not connected to the sound server";
        return false;
    }
    LoopLock lock(loop_);
    if (stream_)
        return true;
    active_ = source_.empty() ? DefaultMonitor(error) : source_;
    if (active_.empty())
        return false;
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, kSampleRate, 1};
    stream_ = pa_stream_new(context_, "music lighting", &spec, nullptr);
    if (!stream_) {
        error = "cannot create the capture stream: " + ContextError(context_);
        return false;
    }
    pa_stream_set_state_callback(stream_, &PulseCapture::OnStreamState, this);
    pa_stream_set_read_callback(stream_, &PulseCapture::OnRead, this);
    pa_buffer_attr attributes{};
    attributes.maxlength = std::uint32_t(-1);
    attributes.fragsize = kFragmentBytes;
    if (pa_stream_connect_record(stream_, active_.c_str(), &attributes, PA_STREAM_ADJUST_LATENCY) <
        0) {
        error = "cannot capture " + active_ + ": " + ContextError(context_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
        return false;
    }
    for (;;) {
        const pa_stream_state_t state = pa_stream_get_state(stream_);
        if (state == PA_STREAM_READY)
            break;
        if (!PA_STREAM_IS_GOOD(state)) {
            error = "cannot capture " + active_ + ": " + ContextError(context_);
            pa_stream_set_state_callback(stream_, nullptr, nullptr);
            pa_stream_set_read_callback(stream_, nullptr, nullptr);
            pa_stream_unref(stream_);
            stream_ = nullptr;
            return false;
        }
        pa_threaded_mainloop_wait(loop_);
    }
    ring_ = &ring;
    return true;
}

void PulseCapture::Stop() {
    if (!loop_)
        return;
    LoopLock lock(loop_);
    if (!stream_)
        return;
    ring_ = nullptr;
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_set_read_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
}

} // namespace recorder
