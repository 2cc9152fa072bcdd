// Router WPS sessions of the real buttond, started by the button in the
// sandbox: every ending, the time-out, restarts, the monitor and internet
// files, and polls that interrupt a busy button loop.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kPress[] = "1x2 0x20 1";  // one press of 20 samples, then released
constexpr char kArmed[] = "\nWPS_AP_CATCH_CONFIGURED_TIMER:2\n\n";
constexpr char kPollMark[] = "------g_wps_timer_state == 1\n\n\n";
const std::string kEnded = "gpio led pin=10 on=1 off=4000 blinks=1 rests=1 times=4000";
const std::string kInternetUp = "gpio led pin=10 on=4000 off=0 blinks=1 rests=0 times=4000";
const std::string kInternetDown = "gpio led pin=8 on=10 off=10 blinks=4000 rests=0 times=4000";

size_t count(const std::string &text, const std::string &what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

bool console_has(const std::string &text) {
  return sim::console().find(text) != std::string::npos;
}

// The console reaches its log asynchronously, so a wait names the exact
// count it needs: text an earlier poll printed is no sign of a later one.
size_t console_count(const std::string &text) { return count(sim::console(), text); }

size_t polls_of_last_session() {
  std::string console = sim::console();
  size_t armed = console.rfind(kArmed);
  return armed == std::string::npos ? 0 : count(console.substr(armed), kPollMark);
}

// Stores and commits a value as another firmware component would.
void store(const std::string &set, const std::string &key, const std::string &value) {
  ASSERT_EQ(sim::spawn(sim::program("nvram"), {"set", set, key, value}).wait(), 0);
}

bool ran(const std::string &command) {
  for (const std::string &line : sim::commands()) {
    if (line == command) return true;
  }
  return false;
}

class WpsScenario : public testing::Test {
 protected:
  void SetUp() override {
    sim::reset();
    sim::set_time_divisor(50);  // a poll every 40 ms, the time-out after about 2.5 s
    sim::start_monitor();
    sim::write_file("/tmp/internetStatus", "1\n");
  }
  void TearDown() override { sim::stop_all(); }

  // Starts buttond with a button script and waits until a session is armed.
  static sim::Process start(std::string_view script = kPress) {
    sim::button_script(script);
    sim::Process buttond = sim::spawn(sim::program("buttond"));
    EXPECT_TRUE(sim::wait_for([] { return console_has(kArmed); })) << sim::console();
    return buttond;
  }

  // The daemon goes on sampling the button after whatever happened.
  static void expect_sampling(const sim::Process &buttond) {
    unsigned reads = sim::button_reads();
    EXPECT_TRUE(sim::wait_for([reads] { return sim::button_reads() > reads + 20; }));
    EXPECT_TRUE(buttond.running());
  }
};

TEST_F(WpsScenario, SuccessOnEitherBandEndsTheSession) {
  for (const char *band : {"ra0", "rai0"}) {
    SetUp();
    sim::wifi_status(band, "0 0 34");
    sim::Process buttond = start();
    std::string label = band[2] == '0' ? "2.4G" : "5G";
    ASSERT_TRUE(sim::wait_for([&] { return console_has("wps " + label + " configured!!"); }));
    EXPECT_TRUE(sim::wait_for([] { return sim::monitor_hups() == 2; }));
    EXPECT_TRUE(sim::wait_for([] { return !sim::file_exists("/tmp/lock"); }));
    Lines leds = sim::requests("gpio led");
    ASSERT_GE(leds.size(), 4u);
    EXPECT_EQ(leds[leds.size() - 3], kEnded) << band;
    EXPECT_EQ(leds.back(), kInternetUp) << band;
    EXPECT_EQ(count(sim::console(), kPollMark), 3u) << band;
    EXPECT_EQ(sim::commands(), Lines{"wireless.cgi wps_pbc 0"}) << band;
    expect_sampling(buttond);
    EXPECT_EQ(count(sim::console(), kPollMark), 3u) << "no poll after the end, " << band;
    sim::stop_all();
  }
}

TEST_F(WpsScenario, FailureAndOverlapEndTheSession) {
  sim::wifi_status("ra0", "0 2");
  sim::Process buttond = start();
  ASSERT_TRUE(sim::wait_for([&] { return buttond.out().find("wps FAIL!!\n") != std::string::npos; }));
  EXPECT_NE(buttond.out().find("notify app about WPS..\nqueryWPSStatus wps FAIL!!\n"),
            std::string::npos);
  EXPECT_FALSE(sim::file_exists("/tmp/lock"));
  sim::stop_all();

  SetUp();
  sim::wifi_status("rai0", "265");
  buttond = start();
  ASSERT_TRUE(sim::wait_for([] { return console_has("wps PBC_SESSION_OVERLAP!!\n\n"); }));
  EXPECT_TRUE(console_has("WscStatus_5g WscStatus_5g = 109 !!\n\nwps PBC_SESSION_OVERLAP"));
  EXPECT_TRUE(sim::wait_for([] { return sim::monitor_hups() == 2; }));
  expect_sampling(buttond);
}

TEST_F(WpsScenario, BothBandsCanEndInOnePoll) {
  sim::wifi_status("ra0", "0 34");
  sim::wifi_status("rai0", "0 1");
  sim::Process buttond = start();
  ASSERT_TRUE(sim::wait_for([] { return console_has("wps failed!\n\n\n"); }));
  EXPECT_TRUE(sim::wait_for([] { return sim::monitor_hups() == 3; }));
  EXPECT_EQ(count(sim::console(), kPollMark), 2u);
  EXPECT_EQ(count(sim::console(), "WscStatus 24g:0 5g:0"), 1u);
  Lines leds = sim::requests("gpio led");
  EXPECT_EQ(std::count(leds.begin(), leds.end(), kEnded), 2);
  expect_sampling(buttond);
}

TEST_F(WpsScenario, SessionTimesOutAtTheSixtyFirstPoll) {
  sim::Process buttond = start();
  ASSERT_TRUE(sim::wait_for([] { return ran("iwpriv rai0 set WscStop=1"); }, 60000));
  EXPECT_EQ(sim::commands(), (Lines{"wireless.cgi wps_pbc 0", "iwpriv ra0 set WscStop=1",
                                    "iwpriv rai0 set WscStop=1"}));
  // The 61st poll judges its statuses after the stop; the 5 GHz one is last.
  ASSERT_TRUE(sim::wait_for([] { return console_count("WscStatus_5g WscStatus_5g = 0 !!") >= 61; }));
  EXPECT_EQ(count(sim::console(), kPollMark), 61u) << sim::console();
  EXPECT_EQ(count(sim::console(), "WscStatus_24g WscStatus_24g = 0 !!"), 61u)
      << "every poll judged its statuses";
  EXPECT_TRUE(sim::wait_for([] { return sim::monitor_hups() == 2; }));
  EXPECT_TRUE(sim::file_exists("/tmp/lock")) << "a time-out leaves the marker";
  expect_sampling(buttond);
  EXPECT_EQ(count(sim::console(), kPollMark), 61u);
}

TEST_F(WpsScenario, HiddenNetworksRefuseTheSessionOnlyWhenBothAreHidden) {
  store("0", "HideSSID", "1");
  store("1", "HideSSID", "1");
  sim::button_script(kPress);
  sim::Process buttond = sim::spawn(sim::program("buttond"));
  ASSERT_TRUE(sim::wait_for([] { return console_has("doWPSHandler SIGUSR1 WPS_AS_ROUTER!"); }));
  expect_sampling(buttond);
  EXPECT_FALSE(console_has(kArmed));
  EXPECT_TRUE(sim::commands().empty());
  EXPECT_TRUE(sim::requests("gpio led").empty());
  EXPECT_EQ(sim::monitor_hups(), 0u);
  sim::stop_all();

  SetUp();
  store("0", "HideSSID", "1");
  buttond = start();
  EXPECT_TRUE(sim::wait_for([] { return sim::monitor_hups() == 1; }));
  EXPECT_EQ(sim::commands(), Lines{"wireless.cgi wps_pbc 0"});
}

TEST_F(WpsScenario, ANewPressWhileSessionPollsRestartsThePoll) {
  sim::Process buttond = start("1x2 0x20 1x100 0x20 1");
  ASSERT_TRUE(sim::wait_for([] { return ran("iwpriv rai0 set WscStop=1"); }, 60000));
  ASSERT_TRUE(sim::wait_for([] { return polls_of_last_session() >= 61; }));
  std::string console = sim::console();
  ASSERT_EQ(count(console, kArmed), 2u);
  size_t restart = console.rfind(kArmed);
  EXPECT_GE(count(console.substr(0, restart), kPollMark), 1u) << "polls before the restart";
  EXPECT_EQ(count(console.substr(restart), kPollMark), 61u);
  EXPECT_EQ(sim::commands().size(), 4u) << "two CGI runs, one WscStop pair";
  expect_sampling(buttond);
}

TEST_F(WpsScenario, MonitorMissingOrImplausibleGetsNoSignal) {
  sim::stop_all();
  sim::remove_file("/var/run/monitor.pid");
  sim::wifi_status("ra0", "34");
  sim::Process buttond = start();
  ASSERT_TRUE(sim::wait_for([&] { return count(buttond.out(), "nvram: monitor is not running\n") == 2; }));
  sim::stop_all();

  SetUp();
  sim::stop_all();
  sim::write_file("/var/run/monitor.pid", "1\n");
  sim::wifi_status("ra0", "34");
  buttond = start();
  ASSERT_TRUE(sim::wait_for([&] { return count(buttond.out(), "send_signal_velmora: app pid(1) <= 1\n") == 2; }));
  expect_sampling(buttond);
}

TEST_F(WpsScenario, InternetStatusDecidesTheLedAfterTheSession) {
  const std::vector<std::pair<const char *, std::string>> cases = {
      {"1\n", kInternetUp}, {"0\n", kInternetDown}, {"?\n", kEnded}, {nullptr, kEnded}};
  for (const auto &[content, last_led] : cases) {
    SetUp();
    if (content != nullptr) {
      sim::write_file("/tmp/internetStatus", content);
    } else {
      sim::remove_file("/tmp/internetStatus");
    }
    sim::wifi_status("rai0", "34");
    sim::Process buttond = start();
    ASSERT_TRUE(sim::wait_for([] { return sim::monitor_hups() == 2; }));
    Lines leds = sim::requests("gpio led");
    ASSERT_FALSE(leds.empty());
    // The ended pattern closes with line 11; the internet LED follows it.
    std::string expected = last_led == kEnded
                               ? "gpio led pin=11 on=1 off=4000 blinks=1 rests=1 times=4000"
                               : last_led;
    EXPECT_EQ(leds.back(), expected) << (content ? content : "missing");
    sim::stop_all();
  }
}

// Polls interrupt a button loop that is busy with long presses (each one
// restarting the session) many times; the daemon never hangs: it samples
// the whole script and the last session still ends at its 61st poll.
TEST_F(WpsScenario, LongPressesDuringManyPollsNeverHang) {
  std::string script = kPress;
  for (int i = 0; i < 15; ++i) script += " 0x95 1x3";
  script += " 1";
  const unsigned samples = 2 + 21 + 15 * 98;
  for (int round = 0; round < 3; ++round) {
    SetUp();
    sim::set_time_divisor(200);  // a poll every 10 ms
    sim::Process buttond = start(script);
    ASSERT_TRUE(sim::wait_for([] { return sim::button_reads() >= samples; }, 120000))
        << "round " << round << ": reads " << sim::button_reads();
    ASSERT_TRUE(sim::wait_for([&] { return polls_of_last_session() >= 61; }, 60000))
        << "round " << round;
    expect_sampling(buttond);
    std::string console = sim::console();
    EXPECT_EQ(count(console, kArmed), 16u) << "round " << round;
    EXPECT_GT(count(console, kPollMark), 61u) << "round " << round;
    EXPECT_EQ(polls_of_last_session(), 61u) << "round " << round;
    EXPECT_TRUE(ran("iwpriv rai0 set WscStop=1")) << "round " << round;
    sim::stop_all();
  }
}

}  // namespace
