#include "tools/lumora-spectrum/track_info.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr auto PollInterval = std::chrono::seconds(1);
// A player that does not answer in time is passed over; the watcher never
// hangs on one.
constexpr std::uint64_t CallTimeoutUs = 500000;
constexpr char PlayerPrefix[] = "org.mpris.MediaPlayer2.";
constexpr char PlayerPath[] = "/org/mpris/MediaPlayer2";
constexpr char PlayerInterface[] = "org.mpris.MediaPlayer2.Player";

// Frees what sd-bus hands out when the scope ends.
struct BusError {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ~BusError() { sd_bus_error_free(&error); }
};
struct BusMessage {
    sd_bus_message* message = nullptr;
    ~BusMessage() { sd_bus_message_unref(message); }
};
struct Strings {
    char** list = nullptr;
    ~Strings() {
        for (char** s = list; s != nullptr && *s != nullptr; ++s) std::free(*s);
        std::free(list);
    }
};

std::vector<std::string> Players(sd_bus* bus) {
    BusError error;
    BusMessage reply;
    if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ListNames",
                           &error.error, &reply.message, "") < 0) {
        return {};
    }
    Strings names;
    if (sd_bus_message_read_strv(reply.message, &names.list) < 0) {
        return {};
    }
    std::vector<std::string> players;
    for (char** name = names.list; name != nullptr && *name != nullptr; ++name) {
        if (std::strncmp(*name, PlayerPrefix, sizeof PlayerPrefix - 1) == 0) players.emplace_back(*name);
    }
    std::sort(players.begin(), players.end());
    return players;
}

bool IsPlaying(sd_bus* bus, const std::string& player) {
    BusError error;
    char* status = nullptr;
    if (sd_bus_get_property_string(bus, player.c_str(), PlayerPath, PlayerInterface, "PlaybackStatus", &error.error,
                                   &status) < 0) {
        return false;
    }
    const bool playing = std::strcmp(status, "Playing") == 0;
    std::free(status);
    return playing;
}

// One metadata entry's value: a string, or a list of strings joined.
std::optional<std::string> ReadTextVariant(sd_bus_message* message) {
    char type = 0;
    const char* contents = nullptr;
    if (sd_bus_message_peek_type(message, &type, &contents) <= 0 || contents == nullptr) return std::nullopt;
    if (std::strcmp(contents, "s") == 0 || std::strcmp(contents, "o") == 0) {
        const char* text = nullptr;
        if (sd_bus_message_enter_container(message, SD_BUS_TYPE_VARIANT, contents) < 0 ||
            sd_bus_message_read_basic(message, contents[0], &text) < 0 || sd_bus_message_exit_container(message) < 0)
            return std::nullopt;
        return std::string(text);
    }
    if (std::strcmp(contents, "as") == 0) {
        Strings list;
        if (sd_bus_message_enter_container(message, SD_BUS_TYPE_VARIANT, "as") < 0 ||
            sd_bus_message_read_strv(message, &list.list) < 0 || sd_bus_message_exit_container(message) < 0)
            return std::nullopt;
        std::string joined;
        for (char** s = list.list; s != nullptr && *s != nullptr; ++s)
            joined += (joined.empty() ? "" : ", ") + std::string(*s);
        return joined;
    }
    if (sd_bus_message_skip(message, "v") < 0) return std::nullopt;
    return std::string();
}

// The last part of a file address, for a track that has no title.
std::string FileName(const std::string& url) {
    const std::size_t slash = url.find_last_of('/');
    return slash == std::string::npos ? url : url.substr(slash + 1);
}

std::optional<PlayingTrack> ReadMetadata(sd_bus* bus, const std::string& player) {
    BusError error;
    BusMessage reply;
    if (sd_bus_get_property(bus, player.c_str(), PlayerPath, PlayerInterface, "Metadata", &error.error, &reply.message,
                            "a{sv}") < 0 ||
        sd_bus_message_enter_container(reply.message, SD_BUS_TYPE_ARRAY, "{sv}") < 0) {
        return std::nullopt;
    }
    PlayingTrack track;
    std::string url;
    while (sd_bus_message_enter_container(reply.message, SD_BUS_TYPE_DICT_ENTRY, "sv") > 0) {
        const char* key = nullptr;
        if (sd_bus_message_read_basic(reply.message, SD_BUS_TYPE_STRING, &key) < 0) return std::nullopt;
        const std::string name = key;
        const std::optional<std::string> value = ReadTextVariant(reply.message);
        if (!value || sd_bus_message_exit_container(reply.message) < 0) return std::nullopt;
        if (name == "xesam:artist") track.artist = *value;
        if (name == "xesam:title") track.title = *value;
        if (name == "xesam:album") track.album = *value;
        if (name == "xesam:url") url = *value;
    }
    if (track.title.empty()) track.title = FileName(url);
    return track;
}

}  // namespace

std::string BlockText(const std::string& utf8) {
    std::string text;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80         ? 1
                                   : (lead >> 5) == 6  ? 2
                                   : (lead >> 4) == 14 ? 3
                                   : (lead >> 3) == 30 ? 4
                                                       : 0;
        bool whole = length != 0 && i + length <= utf8.size();
        std::uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; whole && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            whole = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!whole) {
            text += '?';
            ++i;
            continue;
        }
        i += length;
        if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
            text += ' ';
        } else {
            text += code <= 0xFF ? static_cast<char>(code) : '?';
        }
    }
    return text;
}

TrackText TrackLines(const PlayingTrack& track) {
    std::vector<std::string> lines;
    for (const std::string* part : {&track.artist, &track.title, &track.album}) {
        const std::string text = BlockText(*part);
        if (text.find_first_not_of(' ') != std::string::npos) lines.push_back(text);
    }
    lines.resize(3);
    // The box shows cdText2 first, then cdText1, then cdText3.
    return TrackText{lines[1], lines[0], lines[2]};
}

TrackWatcher::TrackWatcher() : thread_([this] { watch(); }) {}

TrackWatcher::~TrackWatcher() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

TrackText TrackWatcher::current() const {
    std::lock_guard<std::mutex> guard(lock_);
    return current_;
}

void TrackWatcher::watch() {
    sd_bus* bus = nullptr;
    std::unique_lock<std::mutex> guard(lock_);
    while (!stopping_) {
        guard.unlock();
        sd_bus* opened = nullptr;
        if (bus == nullptr && sd_bus_open_user(&opened) >= 0) {
            bus = opened;
            sd_bus_set_method_call_timeout(bus, CallTimeoutUs);
        }
        PlayingTrack track;
        if (bus != nullptr) {
            for (const std::string& player : Players(bus)) {
                if (!IsPlaying(bus, player)) continue;
                if (std::optional<PlayingTrack> playing = ReadMetadata(bus, player)) track = *playing;
                break;
            }
            // A bus that went away is opened afresh next time.
            if (!sd_bus_is_open(bus)) bus = sd_bus_flush_close_unref(bus);
        }
        guard.lock();
        current_ = TrackLines(track);
        wake_.wait_for(guard, PollInterval, [this] { return stopping_; });
    }
    guard.unlock();
    sd_bus_flush_close_unref(bus);
}
