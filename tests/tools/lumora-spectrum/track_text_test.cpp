// The CD text lines: what a desktop player publishes over MPRIS, as the
// block shows it.
#include <gtest/gtest.h>

#include <systemd/sd-bus.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "saver/sound/spectrum_link.h"
#include "sound_server.h"
#include "spectrum_process.h"
#include "tools/lumora-spectrum/track_info.h"

namespace {

using namespace spectrumtest;
using namespace std::chrono_literals;

TEST(TrackText, BecomesLatin1LinesThatFillTheBoxFromTheTop) {
    EXPECT_EQ(BlockText("Ané Brun"), "An\xe9 Brun");
    EXPECT_EQ(BlockText("Line\nbreak\ttab\x7f"), "Line break tab ");
    EXPECT_EQ(BlockText("\xe2\x82\xac 5 \xf0\x9f\x8e\xb5"), "? 5 ?") << "beyond Latin-1";
    EXPECT_EQ(BlockText("cut \xc3"), "cut ?");
    EXPECT_EQ(BlockText("\xc3(\xff"), "?(?") << "broken sequences";

    EXPECT_EQ(TrackLines({"Artist", "Title", "Album"}), (TrackText{"Title", "Artist", "Album"}));
    EXPECT_EQ(TrackLines({"", "Title", "Album"}), (TrackText{"Album", "Title", ""}))
        << "no artist: the title goes first, since the saver draws nothing under an empty first line";
    EXPECT_EQ(TrackLines({" ", "", ""}), TrackText{});
}

// A player on the bus that says what it plays.
class FakePlayer {
public:
    FakePlayer(const std::string& address) {
        ok_ = sd_bus_new(&bus_) >= 0 && sd_bus_set_address(bus_, address.c_str()) >= 0 &&
              sd_bus_set_bus_client(bus_, 1) >= 0 && sd_bus_start(bus_) >= 0 &&
              sd_bus_add_object_vtable(bus_, nullptr, "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player", Table,
                                       this) >= 0 &&
              sd_bus_request_name(bus_, "org.mpris.MediaPlayer2.lumoratest", 0) >= 0;
        if (ok_) loop_ = std::thread([this] { serve(); });
    }
    ~FakePlayer() {
        stop_ = true;
        if (loop_.joinable()) loop_.join();
        sd_bus_flush_close_unref(bus_);
    }
    bool ok() const { return ok_; }
    void set(const std::string& status, const std::string& title) {
        std::lock_guard<std::mutex> guard(lock_);
        status_ = status;
        title_ = title;
    }

private:
    static int Status(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* self,
                      sd_bus_error*) {
        auto* player = static_cast<FakePlayer*>(self);
        std::lock_guard<std::mutex> guard(player->lock_);
        return sd_bus_message_append(reply, "s", player->status_.c_str());
    }
    static int Metadata(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* self,
                        sd_bus_error*) {
        auto* player = static_cast<FakePlayer*>(self);
        std::lock_guard<std::mutex> guard(player->lock_);
        return sd_bus_message_append(reply, "a{sv}", 4, "mpris:length", "x", int64_t{240000000}, "xesam:artist", "as",
                                     2, "Ané", "Brun", "xesam:title", "s", player->title_.c_str(), "xesam:album", "s",
                                     "Album");
    }
    static constexpr sd_bus_vtable Table[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_PROPERTY("PlaybackStatus", "s", Status, 0, 0),
        SD_BUS_PROPERTY("Metadata", "a{sv}", Metadata, 0, 0),
        SD_BUS_VTABLE_END,
    };

    void serve() {
        while (!stop_) {
            while (sd_bus_process(bus_, nullptr) > 0) {
            }
            sd_bus_wait(bus_, 20000);
        }
    }

    sd_bus* bus_ = nullptr;
    bool ok_ = false;
    std::atomic<bool> stop_{false};
    std::thread loop_;
    std::mutex lock_;
    std::string status_ = "Playing";
    std::string title_ = "First";
};

TEST(TrackText, FollowsThePlayingTrackWithANewSerialForEachChange) {
    SessionBus bus;
    std::string why;
    if (!bus.start(&why)) GTEST_SKIP() << "no D-Bus session bus can run here: " << why;
    FakePlayer player(bus.address());
    ASSERT_TRUE(player.ok());
    SpectrumBlock* block = OpenSpectrumBlock();
    ASSERT_NE(block, nullptr);

    Process analyser({AnalyserPath()},
                     {"DBUS_SESSION_BUS_ADDRESS=" + bus.address(), "PULSE_SERVER=unix:/nonexistent/lumora-test"});
    ASSERT_TRUE(WaitUntil([&] { return block->get(spectrum::cdText1) == "First"; }));
    EXPECT_EQ(block->get(spectrum::cdText2), "An\xe9, Brun");
    EXPECT_EQ(block->get(spectrum::cdText3), "Album");
    const DWORD first = block->get(spectrum::cdSerial);

    player.set("Playing", "Second");
    ASSERT_TRUE(WaitUntil([&] { return block->get(spectrum::cdText1) == "Second"; }));
    const DWORD second = block->get(spectrum::cdSerial);
    EXPECT_NE(second, first);

    player.set("Paused", "Second");
    ASSERT_TRUE(WaitUntil([&] { return block->get(spectrum::cdText2).empty(); }));
    EXPECT_NE(block->get(spectrum::cdSerial), second);

    block->set(spectrum::closeRequest, 1);
    EXPECT_EQ(analyser.waitFor(10s), 0);
    CloseSpectrumBlock(block);
}

}  // namespace
