#include "tools/lumora-spectrum/pulse_capture.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto RetryDelay = std::chrono::seconds(2);
// A server that accepts the connection but never answers counts as absent.
constexpr auto ConnectTimeout = std::chrono::seconds(5);
constexpr pa_usec_t PollUs = 50000;
constexpr pa_usec_t FragmentUs = 10000;
constexpr char MonitorOfDefault[] = "@DEFAULT_MONITOR@";

struct Session {
    const FrameSink* sink = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    bool ready = false;
    bool failed = false;
    unsigned rate = 48000;
    std::string defaultSink;  // the output whose monitor the stream hears
    std::vector<float> aligned;
};

void DropStream(Session& session) {
    if (session.stream != nullptr) {
        pa_stream_set_state_callback(session.stream, nullptr, nullptr);
        pa_stream_set_read_callback(session.stream, nullptr, nullptr);
        pa_stream_disconnect(session.stream);
        pa_stream_unref(session.stream);
        session.stream = nullptr;
    }
}

void DropContext(Session& session) {
    DropStream(session);
    if (session.context != nullptr) {
        pa_context_set_state_callback(session.context, nullptr, nullptr);
        pa_context_set_subscribe_callback(session.context, nullptr, nullptr);
        pa_context_disconnect(session.context);
        pa_context_unref(session.context);
        session.context = nullptr;
    }
    session.ready = false;
    session.failed = false;
}

void OnStreamRead(pa_stream* stream, std::size_t, void* user) {
    Session& session = *static_cast<Session*>(user);
    while (pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0) {
            session.failed = true;
            return;
        }
        if (bytes == 0) {
            return;
        }
        // A hole (no data) is skipped; sound is copied out, since the
        // server's memory block promises no float alignment.
        if (data != nullptr) {
            const std::size_t frames = bytes / (2 * sizeof(float));
            session.aligned.resize(2 * frames);
            std::memcpy(session.aligned.data(), data, frames * 2 * sizeof(float));
            (*session.sink)(session.rate, session.aligned.data(), frames);
        }
        pa_stream_drop(stream);
    }
}

void OnStreamState(pa_stream* stream, void* user) {
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) {
        static_cast<Session*>(user)->failed = true;
    }
}

void StartStream(Session& session) {
    DropStream(session);
    pa_sample_spec params{PA_SAMPLE_FLOAT32NE, session.rate, 2};
    pa_channel_map map;
    pa_channel_map_init_stereo(&map);
    session.stream = pa_stream_new(session.context, "Spectrum analysis", &params, &map);
    if (session.stream == nullptr) {
        session.failed = true;
        return;
    }
    pa_stream_set_read_callback(session.stream, OnStreamRead, &session);
    pa_stream_set_state_callback(session.stream, OnStreamState, &session);
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = static_cast<std::uint32_t>(-1);
    attributes.prebuf = static_cast<std::uint32_t>(-1);
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(pa_usec_to_bytes(FragmentUs, &params));
    // Without latency adjustment the server sends 10 ms pieces and leaves
    // the output's own latency alone: asking for less would make the
    // output, and everything playing on it, wake up more often.
    if (pa_stream_connect_record(session.stream, MonitorOfDefault, &attributes, PA_STREAM_NOFLAGS) < 0) {
        session.failed = true;
    }
}

void OnServerInfo(pa_context*, const pa_server_info* info, void* user) {
    Session& session = *static_cast<Session*>(user);
    if (info == nullptr) {
        session.failed = true;
        return;
    }
    const std::string defaultSink = info->default_sink_name != nullptr ? info->default_sink_name : "";
    if (session.stream != nullptr && defaultSink == session.defaultSink) {
        return;
    }
    session.defaultSink = defaultSink;
    // The server's own rate spares it resampling; anything else gets 48 kHz.
    session.rate = info->sample_spec.rate == 44100 ? 44100 : 48000;
    StartStream(session);
}

void OnServerEvent(pa_context* context, pa_subscription_event_type_t event, std::uint32_t, void* user) {
    if ((event & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) == PA_SUBSCRIPTION_EVENT_SERVER) {
        pa_operation* operation = pa_context_get_server_info(context, OnServerInfo, user);
        if (operation != nullptr) {
            pa_operation_unref(operation);
        }
    }
}

void OnContextState(pa_context* context, void* user) {
    Session& session = *static_cast<Session*>(user);
    switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY: {
            session.ready = true;
            pa_context_set_subscribe_callback(context, OnServerEvent, &session);
            pa_operation* subscribing = pa_context_subscribe(context, PA_SUBSCRIPTION_MASK_SERVER, nullptr, nullptr);
            if (subscribing != nullptr) {
                pa_operation_unref(subscribing);
            }
            pa_operation* asking = pa_context_get_server_info(context, OnServerInfo, &session);
            if (asking != nullptr) {
                pa_operation_unref(asking);
            } else {
                session.failed = true;
            }
            break;
        }
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            session.failed = true;
            break;
        default:
            break;
    }
}

}  // namespace

void CaptureDefaultOutput(const std::atomic<bool>& stop, const FrameSink& sink) {
    pa_mainloop* loop = pa_mainloop_new();
    if (loop == nullptr) {
        return;
    }
    Session session;
    session.sink = &sink;
    auto nextAttempt = Clock::now();
    auto attemptStart = nextAttempt;
    bool told = false;  // the user hears of a missing server once per loss
    while (!stop.load()) {
        const auto now = Clock::now();
        if (session.context == nullptr && now >= nextAttempt) {
            attemptStart = now;
            session.context = pa_context_new(pa_mainloop_get_api(loop), "Lumora spectrum analyser");
            if (session.context == nullptr) {
                session.failed = true;
            } else {
                pa_context_set_state_callback(session.context, OnContextState, &session);
                if (pa_context_connect(session.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
                    session.failed = true;
                }
            }
        }
        if (session.context != nullptr && session.stream != nullptr && !session.failed) {
            told = false;
        }
        const bool stuck = session.context != nullptr && !session.ready && now - attemptStart > ConnectTimeout;
        if (session.failed || stuck) {
            if (!told) {
                const int error = session.context != nullptr ? pa_context_errno(session.context) : PA_ERR_UNKNOWN;
                std::fprintf(stderr, "lumora-spectrum: no sound from the sound server (%s); trying again\n",
                             stuck ? "no answer" : pa_strerror(error));
                told = true;
            }
            DropContext(session);
            nextAttempt = now + RetryDelay;
        }
        if (pa_mainloop_prepare(loop, static_cast<int>(PollUs)) < 0 || pa_mainloop_poll(loop) < 0 ||
            pa_mainloop_dispatch(loop) < 0) {
            break;
        }
    }
    DropContext(session);
    pa_mainloop_free(loop);
}
