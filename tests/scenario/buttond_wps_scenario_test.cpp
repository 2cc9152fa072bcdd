// Router WPS sessions of the real buttond, started by the button in the
// sandbox, for what only the running daemon shows: its poll timer stops at
// each ending and after the time-out, restarts, stored settings and the
// monitor's pid file reach it, and polls interrupt a busy button loop. The
// messages, LED patterns and files of each ending are checked poll by poll
// in tests/unit/buttond_wps_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/log_text.h"
#include "tests/support/testbed.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kPress[] = "1x2 0x20 1";  // one press of 20 samples, then released
constexpr char kArmed[] = "\nWPS_AP_CATCH_CONFIGURED_TIMER:2\n\n";
constexpr char kPollMark[] = "------g_wps_timer_state == 1\n\n\n";
constexpr char kNotified[] = "notify app about WPS..\n";
using testbed::count;

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

  // Whether buttond signalled the monitor n times: at a session's start and
  // at each ending. Two signals sent close together can reach the monitor as
  // one (a signal still pending is not queued again), so the notice buttond
  // prints with each signal counts them; the monitor got one at least.
  static bool monitor_signalled(const testbed::Process &buttond, size_t n) {
    auto sent = [&buttond] { return count(testbed::read_file(buttond.stdout_path), kNotified); };
    bool all_sent = testbed::wait_for([&] { return sent() >= n; });
    bool received = testbed::wait_for([] { return testbed::monitor_hups() >= 1; });
    return all_sent && received && sent() == n && testbed::monitor_hups() <= n;
  }

  // The daemon goes on sampling the button after whatever happened.
  static void expect_sampling(const testbed::Process &buttond) {
    unsigned reads = testbed::button_reads();
    EXPECT_TRUE(testbed::wait_for([reads] { return testbed::button_reads() > reads + 20; }));
    EXPECT_TRUE(buttond.running());
  }
};

class WpsBandScenario : public WpsScenario, public testing::WithParamInterface<const char *> {};

TEST_P(WpsBandScenario, SuccessOnEitherBandStopsThePolls) {
  const std::string band = GetParam();
  testbed::wifi_status(band, "0 0 34");
  testbed::Process buttond = start();
  std::string label = band == "ra0" ? "2.4G" : "5G";
  ASSERT_TRUE(testbed::wait_for([&] { return console_has("wps " + label + " configured!!"); }));
  EXPECT_TRUE(monitor_signalled(buttond, 2));
  EXPECT_EQ(testbed::commands(), Lines{"wireless.cgi wps_pbc 0"});
  expect_sampling(buttond);
  EXPECT_EQ(count(testbed::console(), kPollMark), 3u) << "no poll after the end";
}

INSTANTIATE_TEST_SUITE_P(Bands, WpsBandScenario, testing::Values("ra0", "rai0"));

TEST_F(WpsScenario, AFailureStopsThePolls) {
  testbed::wifi_status("ra0", "0 2");
  testbed::Process buttond = start();
  ASSERT_TRUE(monitor_signalled(buttond, 2));
  expect_sampling(buttond);
  EXPECT_EQ(count(testbed::console(), kPollMark), 2u) << "no poll after the end";
}

TEST_F(WpsScenario, BothBandsCanEndInOnePoll) {
  testbed::wifi_status("ra0", "0 34");
  testbed::wifi_status("rai0", "0 1");
  testbed::Process buttond = start();
  ASSERT_TRUE(testbed::wait_for([] { return console_has("wps failed!\n\n\n"); }));
  EXPECT_TRUE(monitor_signalled(buttond, 3));
  expect_sampling(buttond);
  EXPECT_EQ(count(testbed::console(), kPollMark), 2u);
  EXPECT_EQ(count(testbed::console(), "WscStatus 24g:0 5g:0"), 1u);
}

TEST_F(WpsScenario, SessionTimesOutAtTheSixtyFirstPoll) {
  testbed::Process buttond = start();
  ASSERT_TRUE(testbed::wait_for([] { return ran("iwpriv rai0 set WscStop=1"); }, 60000));
  // The 61st poll judges its statuses after the stop; the 5 GHz one is last.
  ASSERT_TRUE(
      testbed::wait_for([] { return console_count("WscStatus_5g WscStatus_5g = 0 !!") >= 61; }));
  EXPECT_TRUE(monitor_signalled(buttond, 2));
  expect_sampling(buttond);
  EXPECT_EQ(count(testbed::console(), kPollMark), 61u) << testbed::console();
  EXPECT_EQ(testbed::commands(), (Lines{"wireless.cgi wps_pbc 0", "iwpriv ra0 set WscStop=1",
                                        "iwpriv rai0 set WscStop=1"}));
}

// The daemon reads HideSSID from the store another program committed.
TEST_F(WpsScenario, BothNetworksHiddenInTheStoreRefuseTheSession) {
  store("0", "HideSSID", "1");
  store("1", "HideSSID", "1");
  testbed::button_script(kPress);
  testbed::Process buttond = testbed::spawn(testbed::program("buttond"));
  ASSERT_TRUE(testbed::wait_for([] { return console_has("doWPSHandler SIGUSR1 WPS_AS_ROUTER!"); }));
  expect_sampling(buttond);
  EXPECT_FALSE(console_has(kArmed));
}

TEST_F(WpsScenario, OneNetworkHiddenInTheStoreStillStartsTheSession) {
  store("0", "HideSSID", "1");
  testbed::Process buttond = start();
  EXPECT_TRUE(monitor_signalled(buttond, 1));
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

// A pid of 1 in the monitor's pid file would signal the sandbox's init: the
// daemon refuses it at the start and the end of the session and goes on.
TEST_F(WpsScenario, AnImplausibleMonitorPidGetsNoSignal) {
  testbed::stop_all();
  testbed::write_file("/var/run/monitor.pid", "1\n");
  testbed::wifi_status("ra0", "34");
  testbed::Process buttond = start();
  ASSERT_TRUE(testbed::wait_for(
      [&] { return count(buttond.out(), "send_signal_velmora: app pid(1) <= 1\n") == 2; }));
  expect_sampling(buttond);
}

// Polls interrupt a button loop that is busy with long presses (each one
// restarting the session) many times; the daemon never hangs: it samples
// the whole script and the last session still ends at its 61st poll.
class WpsLongPresses : public WpsScenario, public testing::WithParamInterface<int> {};

TEST_P(WpsLongPresses, DuringManyPollsNeverHang) {
  std::string script = kPress;
  for (int i = 0; i < 15; ++i) script += " 0x95 1x3";
  script += " 1";
  const unsigned samples = 2 + 21 + 15 * 98;
  testbed::set_time_divisor(200);  // a poll every 10 ms
  testbed::Process buttond = start(script);
  ASSERT_TRUE(testbed::wait_for([] { return testbed::button_reads() >= samples; }, 120000))
      << "reads " << testbed::button_reads();
  // The console is copied behind the daemon: the last session's mark must
  // be there before its polls are counted.
  ASSERT_TRUE(testbed::wait_for([] { return count(testbed::console(), kArmed) == 16; }));
  ASSERT_TRUE(testbed::wait_for([&] { return polls_of_last_session() >= 61; }, 60000));
  expect_sampling(buttond);
  std::string console = testbed::console();
  EXPECT_EQ(count(console, kArmed), 16u);
  EXPECT_GT(count(console, kPollMark), 61u);
  EXPECT_EQ(polls_of_last_session(), 61u);
  EXPECT_TRUE(ran("iwpriv rai0 set WscStop=1"));
}

// Three runs: a hang here depends on where the alarms fall.
INSTANTIATE_TEST_SUITE_P(Rounds, WpsLongPresses, testing::Range(0, 3));

}  // namespace
