// Router WPS sessions of the real buttond, started by the button in the
// sandbox: every ending, the time-out, restarts, the monitor and internet
// files, and polls that interrupt a busy button loop.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testbed.h"

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
  return testbed::console().find(text) != std::string::npos;
}

// The console reaches its log asynchronously, so a wait names the exact
// count it needs: text an earlier poll printed is no sign of a later one.
size_t console_count(const std::string &text) { return count(testbed::console(), text); }

size_t polls_of_last_session() {
  std::string console = testbed::console();
  size_t armed = console.rfind(kArmed);
  return armed == std::string::npos ? 0 : count(console.substr(armed), kPollMark);
}

// Stores and commits a value as another firmware component would.
void store(const std::string &set, const std::string &key, const std::string &value) {
  ASSERT_EQ(testbed::spawn(testbed::program("nvram"), {"set", set, key, value}).wait(), 0);
}

bool ran(const std::string &command) {
  for (const std::string &line : testbed::commands()) {
    if (line == command) return true;
  }
  return false;
}

class WpsScenario : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    testbed::set_time_divisor(50);  // a poll every 40 ms, the time-out after about 2.5 s
    testbed::start_monitor();
    testbed::write_file("/tmp/internetStatus", "1\n");
  }
  void TearDown() override { testbed::stop_all(); }

  // Starts buttond with a button script and waits until a session is armed.
  static testbed::Process start(std::string_view script = kPress) {
    testbed::button_script(script);
    testbed::Process buttond = testbed::spawn(testbed::program("buttond"));
    EXPECT_TRUE(testbed::wait_for([] { return console_has(kArmed); })) << testbed::console();
    return buttond;
  }

  // The daemon goes on sampling the button after whatever happened.
  static void expect_sampling(const testbed::Process &buttond) {
    unsigned reads = testbed::button_reads();
    EXPECT_TRUE(testbed::wait_for([reads] { return testbed::button_reads() > reads + 20; }));
    EXPECT_TRUE(buttond.running());
  }
};

TEST_F(WpsScenario, SuccessOnEitherBandEndsTheSession) {
  for (const char *band : {"ra0", "rai0"}) {
    SetUp();
    testbed::wifi_status(band, "0 0 34");
    testbed::Process buttond = start();
    std::string label = band[2] == '0' ? "2.4G" : "5G";
    ASSERT_TRUE(testbed::wait_for([&] { return console_has("wps " + label + " configured!!"); }));
    EXPECT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() == 2; }));
    EXPECT_TRUE(testbed::wait_for([] { return !testbed::file_exists("/tmp/lock"); }));
    Lines leds = testbed::requests("gpio led");
    ASSERT_GE(leds.size(), 4u);
    EXPECT_EQ(leds[leds.size() - 3], kEnded) << band;
    EXPECT_EQ(leds.back(), kInternetUp) << band;
    EXPECT_EQ(count(testbed::console(), kPollMark), 3u) << band;
    EXPECT_EQ(testbed::commands(), Lines{"wireless.cgi wps_pbc 0"}) << band;
    expect_sampling(buttond);
    EXPECT_EQ(count(testbed::console(), kPollMark), 3u) << "no poll after the end, " << band;
    testbed::stop_all();
  }
}

TEST_F(WpsScenario, FailureAndOverlapEndTheSession) {
  testbed::wifi_status("ra0", "0 2");
  testbed::Process buttond = start();
  ASSERT_TRUE(testbed::wait_for([&] { return buttond.out().find("wps FAIL!!\n") != std::string::npos; }));
  EXPECT_NE(buttond.out().find("notify app about WPS..\nqueryWPSStatus wps FAIL!!\n"),
            std::string::npos);
  EXPECT_FALSE(testbed::file_exists("/tmp/lock"));
  testbed::stop_all();

  SetUp();
  testbed::wifi_status("rai0", "265");
  buttond = start();
  ASSERT_TRUE(testbed::wait_for([] { return console_has("wps PBC_SESSION_OVERLAP!!\n\n"); }));
  EXPECT_TRUE(console_has("WscStatus_5g WscStatus_5g = 109 !!\n\nwps PBC_SESSION_OVERLAP"));
  EXPECT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() == 2; }));
  expect_sampling(buttond);
}

TEST_F(WpsScenario, BothBandsCanEndInOnePoll) {
  testbed::wifi_status("ra0", "0 34");
  testbed::wifi_status("rai0", "0 1");
  testbed::Process buttond = start();
  ASSERT_TRUE(testbed::wait_for([] { return console_has("wps failed!\n\n\n"); }));
  EXPECT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() == 3; }));
  EXPECT_EQ(count(testbed::console(), kPollMark), 2u);
  EXPECT_EQ(count(testbed::console(), "WscStatus 24g:0 5g:0"), 1u);
  Lines leds = testbed::requests("gpio led");
  EXPECT_EQ(std::count(leds.begin(), leds.end(), kEnded), 2);
  expect_sampling(buttond);
}

TEST_F(WpsScenario, SessionTimesOutAtTheSixtyFirstPoll) {
  testbed::Process buttond = start();
  ASSERT_TRUE(testbed::wait_for([] { return ran("iwpriv rai0 set WscStop=1"); }, 60000));
  EXPECT_EQ(testbed::commands(), (Lines{"wireless.cgi wps_pbc 0", "iwpriv ra0 set WscStop=1",
                                    "iwpriv rai0 set WscStop=1"}));
  // The 61st poll judges its statuses after the stop; the 5 GHz one is last.
  ASSERT_TRUE(testbed::wait_for([] { return console_count("WscStatus_5g WscStatus_5g = 0 !!") >= 61; }));
  EXPECT_EQ(count(testbed::console(), kPollMark), 61u) << testbed::console();
  EXPECT_EQ(count(testbed::console(), "WscStatus_24g WscStatus_24g = 0 !!"), 61u)
      << "every poll judged its statuses";
  EXPECT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() == 2; }));
  EXPECT_TRUE(testbed::file_exists("/tmp/lock")) << "a time-out leaves the marker";
  expect_sampling(buttond);
  EXPECT_EQ(count(testbed::console(), kPollMark), 61u);
}

TEST_F(WpsScenario, HiddenNetworksRefuseTheSessionOnlyWhenBothAreHidden) {
  store("0", "HideSSID", "1");
  store("1", "HideSSID", "1");
  testbed::button_script(kPress);
  testbed::Process buttond = testbed::spawn(testbed::program("buttond"));
  ASSERT_TRUE(testbed::wait_for([] { return console_has("doWPSHandler SIGUSR1 WPS_AS_ROUTER!"); }));
  expect_sampling(buttond);
  EXPECT_FALSE(console_has(kArmed));
  EXPECT_TRUE(testbed::commands().empty());
  EXPECT_TRUE(testbed::requests("gpio led").empty());
  EXPECT_EQ(testbed::monitor_hups(), 0u);
  testbed::stop_all();

  SetUp();
  store("0", "HideSSID", "1");
  buttond = start();
  EXPECT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() == 1; }));
  EXPECT_EQ(testbed::commands(), Lines{"wireless.cgi wps_pbc 0"});
}

TEST_F(WpsScenario, ANewPressWhileSessionPollsRestartsThePoll) {
  testbed::Process buttond = start("1x2 0x20 1x100 0x20 1");
  ASSERT_TRUE(testbed::wait_for([] { return ran("iwpriv rai0 set WscStop=1"); }, 60000));
  ASSERT_TRUE(testbed::wait_for([] { return polls_of_last_session() >= 61; }));
  std::string console = testbed::console();
  ASSERT_EQ(count(console, kArmed), 2u);
  size_t restart = console.rfind(kArmed);
  EXPECT_GE(count(console.substr(0, restart), kPollMark), 1u) << "polls before the restart";
  EXPECT_EQ(count(console.substr(restart), kPollMark), 61u);
  EXPECT_EQ(testbed::commands().size(), 4u) << "two CGI runs, one WscStop pair";
  expect_sampling(buttond);
}

TEST_F(WpsScenario, MonitorMissingOrImplausibleGetsNoSignal) {
  testbed::stop_all();
  testbed::remove_file("/var/run/monitor.pid");
  testbed::wifi_status("ra0", "34");
  testbed::Process buttond = start();
  ASSERT_TRUE(testbed::wait_for([&] { return count(buttond.out(), "nvram: monitor is not running\n") == 2; }));
  testbed::stop_all();

  SetUp();
  testbed::stop_all();
  testbed::write_file("/var/run/monitor.pid", "1\n");
  testbed::wifi_status("ra0", "34");
  buttond = start();
  ASSERT_TRUE(testbed::wait_for([&] { return count(buttond.out(), "send_signal_velmora: app pid(1) <= 1\n") == 2; }));
  expect_sampling(buttond);
}

TEST_F(WpsScenario, InternetStatusDecidesTheLedAfterTheSession) {
  const std::vector<std::pair<const char *, std::string>> cases = {
      {"1\n", kInternetUp}, {"0\n", kInternetDown}, {"?\n", kEnded}, {nullptr, kEnded}};
  for (const auto &[content, last_led] : cases) {
    SetUp();
    if (content != nullptr) {
      testbed::write_file("/tmp/internetStatus", content);
    } else {
      testbed::remove_file("/tmp/internetStatus");
    }
    testbed::wifi_status("rai0", "34");
    testbed::Process buttond = start();
    ASSERT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() == 2; }));
    Lines leds = testbed::requests("gpio led");
    ASSERT_FALSE(leds.empty());
    // The ended pattern closes with line 11; the internet LED follows it.
    std::string expected = last_led == kEnded
                               ? "gpio led pin=11 on=1 off=4000 blinks=1 rests=1 times=4000"
                               : last_led;
    EXPECT_EQ(leds.back(), expected) << (content ? content : "missing");
    testbed::stop_all();
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
    testbed::set_time_divisor(200);  // a poll every 10 ms
    testbed::Process buttond = start(script);
    ASSERT_TRUE(testbed::wait_for([] { return testbed::button_reads() >= samples; }, 120000))
        << "round " << round << ": reads " << testbed::button_reads();
    ASSERT_TRUE(testbed::wait_for([&] { return polls_of_last_session() >= 61; }, 60000))
        << "round " << round;
    expect_sampling(buttond);
    std::string console = testbed::console();
    EXPECT_EQ(count(console, kArmed), 16u) << "round " << round;
    EXPECT_GT(count(console, kPollMark), 61u) << "round " << round;
    EXPECT_EQ(polls_of_last_session(), 61u) << "round " << round;
    EXPECT_TRUE(ran("iwpriv rai0 set WscStop=1")) << "round " << round;
    testbed::stop_all();
  }
}

}  // namespace
