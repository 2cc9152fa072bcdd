// Following the board's logs: events in their forms, LED patterns kept per
// pin with the time they were seen, the button's hold count from the
// samples the driver served, partial and rewritten logs.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "sim/panel/observer.h"

namespace {

class PanelObserver : public testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/panel-observer-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
    paths_ = {dir_ + "/console", dir_ + "/commands", dir_ + "/requests", dir_ + "/hups"};
  }
  void TearDown() override {
    for (const std::string &p : {paths_.console, paths_.commands, paths_.requests, paths_.hups}) {
      unlink(p.c_str());
    }
    rmdir(dir_.c_str());
  }
  void append(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::app) << text;
  }
  std::vector<std::string> poll(panel::Observer &o, uint64_t now_ms) {
    std::vector<std::string> events;
    o.poll(now_ms, [&](std::string_view e) { events.emplace_back(e); });
    return events;
  }
  std::string dir_;
  panel::LogPaths paths_;
};

using Events = std::vector<std::string>;

TEST_F(PanelObserver, TurnsLogLinesIntoEvents) {
  panel::Observer o(paths_);
  EXPECT_EQ(poll(o, 0), Events{});  // no logs yet
  append(paths_.console, "start wps, type:1!\n\n\n\nWPS_AP_CATCH_CONFIGURED_TIMER:2\n\n");
  append(paths_.requests,
         "gpio dir-in cmd=0x11 mask=0x2\n"
         "gpio read cmd=0x02 -> 0xffffffff\n"
         "rdm cmd=0x6B0E arg=0\n"
         "rdm read reg=0x113408 -> 0x0\n"
         "gpio led pin=10 on=10 off=10 blinks=4000 rests=1 times=4000\n"
         "gpio led pin=8 on=4000 off=0 blinks=1 rests=0 times=4000\n"
         "gpio led pin=8 on=oops\n");
  append(paths_.commands, "wireless.cgi wps_pbc 0\n");
  append(paths_.hups, "hup\nhup\n");
  EXPECT_EQ(poll(o, 5000),
            (Events{"console: start wps, type:1!", "console: WPS_AP_CATCH_CONFIGURED_TIMER:2",
                    "request: rdm read reg=0x113408 -> 0x0", "led 10: blink 10/10", "led 8: lit",
                    "request: gpio led pin=8 on=oops", "command: wireless.cgi wps_pbc 0",
                    "monitor: SIGHUP", "monitor: SIGHUP"}));
  EXPECT_EQ(o.hups(), 2u);
  ASSERT_EQ(o.leds().size(), 2u);
  const panel::LedState &wps = o.leds().at(10);
  EXPECT_EQ(wps.pattern, (panel::LedPattern{10, 10, 4000, 1, 4000}));
  // The pattern plays from the moment it was seen.
  EXPECT_TRUE(wps.lit(5000 + 999));
  EXPECT_FALSE(wps.lit(5000 + 1000));
  // A new request for the pin replaces the pattern and restarts it.
  append(paths_.requests, "gpio led pin=10 on=4000 off=0 blinks=1 rests=0 times=4000\n");
  EXPECT_EQ(poll(o, 9000), Events{"led 10: lit"});
  EXPECT_TRUE(o.leds().at(10).lit(9000 + 1000));
  EXPECT_EQ(poll(o, 9100), Events{});  // nothing is handed over twice
}

TEST_F(PanelObserver, CountsTheSamplesOfEachPress) {
  panel::Observer o(paths_);
  const std::string pressed = "gpio read cmd=0x02 -> 0xfffffffd\n",
                    released = "gpio read cmd=0x02 -> 0xffffffff\n";
  std::string script = released;
  for (int i = 0; i < 3; ++i) script += pressed;
  append(paths_.requests, script + "gpio refused cmd=0x02 (scripted)\n");
  EXPECT_EQ(poll(o, 0), (Events{"button: pressed", "request: gpio refused cmd=0x02 (scripted)"}));
  EXPECT_EQ(o.hold(), 3u);  // a failed read neither ends nor extends the press
  append(paths_.requests, pressed + pressed + released + released);
  EXPECT_EQ(poll(o, 0), Events{"button: released after 5 samples"});
  EXPECT_EQ(o.hold(), 0u);
  EXPECT_EQ(o.last_hold(), 5u);
  // Reads of other pins' banks are not the button.
  append(paths_.requests, "gpio read cmd=0x52 -> 0x0\n");
  poll(o, 0);
  EXPECT_EQ(o.hold(), 0u);
}

TEST_F(PanelObserver, WaitsForCompleteLinesAndFollowsARewrittenLog) {
  panel::Observer o(paths_);
  append(paths_.console, "queryWPSStatus wps 2.4G");
  EXPECT_EQ(poll(o, 0), Events{});
  append(paths_.console, " configured!!\n\nwps fa");
  EXPECT_EQ(poll(o, 0), Events{"console: queryWPSStatus wps 2.4G configured!!"});
  // The log is emptied (a fresh board) and written anew: read from its start.
  std::ofstream(paths_.console, std::ios::trunc) << "new\n";
  EXPECT_EQ(poll(o, 0), Events{"console: new"});
  // An unterminated last line comes out with flush, an endless one in pieces.
  append(paths_.commands, std::string(panel::LogTail::kMaxLine + 10, 'x'));
  Events events = poll(o, 0);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].size(), std::string("command: ").size() + panel::LogTail::kMaxLine);
  events.clear();
  o.flush(0, [&](std::string_view e) { events.emplace_back(e); });
  EXPECT_EQ(events, Events{"command: xxxxxxxxxx"});
}

}  // namespace
