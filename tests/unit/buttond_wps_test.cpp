// WPS session control in-process, with SIGALRM blocked as in buttond so the
// test drives every poll itself: requests, the poll's endings, LED patterns,
// the monitor notification, and repeater sessions through configAP.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "boardutil/pause.h"
#include "boardutil/timer.h"
#include "buttond/buttond.h"
#include "nvram.h"
#include "tests/support/led_requests.h"
#include "tests/support/log_text.h"
#include "tests/support/refused_signal.h"
#include "tests/support/testbed.h"
#include "tests/unit/console_capture.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;
using Lines = std::vector<std::string>;

using testbed::count;
using testbed::kLedLit;
using testbed::led;

const std::string kLine8Lit = led(8, kLedLit);
const std::string kLine11Dark = led(11, {1, 4000, 1, 1, 4000});
const Lines kEndedPattern = {kLine8Lit, led(10, {1, 4000, 1, 1, 4000}), kLine11Dark};
const std::string kInternetUp = led(10, kLedLit);
const std::string kInternetDown = led(8, testbed::kLedSlowBlink);

Lines concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines &part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

void poll() { queryWPSStatus(SIGALRM); }

// Stops the poll timer, which drops an alarm already pending, so no poll of
// an earlier test runs inside a pause of this one.
void quiet_alarm() { stopTimer(); }

class WpsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { pause_block_signal(SIGALRM); }
  void SetUp() override {
    quiet_alarm();
    testbed::reset();
    testbed::set_time_divisor(100);
    wps_type = 0;
    g_wps_timer_state = 0;
    g_wps_elapsed_seconds = 0;
    for (int set : {0, 1}) nvram_bufset(set, "HideSSID", "0");
    nvram_bufset(0, "OperationMode", "1");
    nvram_bufset(0, "UserInit", "0");
    testbed::start_monitor();
    testbed::write_file("/tmp/internetStatus", "1\n");
    // The lock exists already, so the check after the background echo
    // never races it (its creation is tested on its own).
    testbed::write_file("/tmp/lock", "1\n");
  }
  void TearDown() override { quiet_alarm(); }

  // Empties the logs once everything written so far has reached them.
  static void fresh_logs() {
    console_so_far();
    testbed::clear_logs();
  }

  // Starts a router session and forgets what the start did, its signal to
  // the monitor included.
  static void start_router_session() {
    ASSERT_EQ(start_wps(WPS_AS_ROUTER), 0);
    ASSERT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() >= 1; }));
    fresh_logs();
  }

  // Whether the monitor got exactly n signals since the logs were emptied.
  static bool hups_are(unsigned n) {
    testbed::wait_for([n] { return testbed::monitor_hups() >= n; });
    return testbed::monitor_hups() == n;
  }
};

// --- LED feedback ---

TEST_F(WpsTest, LedPatternsOfEachTypeAndSessionKind) {
  for (int type : {0, 1}) {
    wps_type = type;
    unsigned r = type == 1 ? 5 : 10;
    fresh_logs();
    for (unsigned pattern = 0; pattern <= 7; ++pattern) EXPECT_EQ(ledWps(10, pattern), 0);
    EXPECT_EQ(testbed::requests("gpio led"),
              concat({{led(10, {0, 4000, 1, 1, 4000})},
                      {kLine8Lit, led(10, {r, r, 4000, 1, 4000}), kLine11Dark},
                      {led(10, {1, 1, 4000, 1, 4000}), led(10, {1, 1, 10, 5, 4000}),
                       led(10, {3000, 1, 1, 1, 1})},
                      kEndedPattern}));
  }
}

TEST_F(WpsTest, RefusedLedRequestsShowOnlyInTheSingleRequestPatterns) {
  testbed::gpio_fail("led");
  testing::internal::CaptureStderr();
  EXPECT_EQ(ledWps(10, 1), -1);
  EXPECT_EQ(ledWps(10, 3), -1);
  EXPECT_EQ(ledWps(10, 4), -1);
  EXPECT_EQ(ledWps(10, 2), 0);
  EXPECT_EQ(ledWps(10, 5), 0);
  EXPECT_EQ(ledWps(10, 6), 0);
  EXPECT_EQ(count(testing::internal::GetCapturedStderr(), "ioctl: "), 10u);
}

TEST_F(WpsTest, InternetLedFollowsTheFirstByteOfTheStatusFile) {
  const std::vector<std::pair<std::string, Lines>> cases = {{"1\n", {kInternetUp}},
                                                            {"0\n", {kInternetDown}},
                                                            {"10", {kInternetUp}},
                                                            {"x1", {}},
                                                            {"", {}}};
  for (const auto &[content, expected] : cases) {
    testbed::write_file("/tmp/internetStatus", content);
    fresh_logs();
    update_internet_led();
    EXPECT_EQ(testbed::requests("gpio led"), expected) << "'" << content << "'";
  }
  testbed::remove_file("/tmp/internetStatus");
  fresh_logs();
  update_internet_led();
  EXPECT_TRUE(testbed::requests("gpio led").empty());
}

// --- the monitor daemon ---

TEST_F(WpsTest, MonitorIsSignalledOnlyThroughAPlausiblePid) {
  CaptureStdout();
  send_signal_velmora(SIGHUP);
  EXPECT_EQ(GetCapturedStdout(), "notify app about WPS..\n");
  EXPECT_TRUE(hups_are(1));

  testbed::stop_all();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1\n", "send_signal_velmora: app pid(1) <= 1\n"},
      {"0\n", "send_signal_velmora: app pid(0) <= 1\n"},
      {"-5\n", "send_signal_velmora: app pid(-5) <= 1\n"},
      {"monitor\n", "send_signal_velmora: no pid in /var/run/monitor.pid\n"},
      {"", "send_signal_velmora: no pid in /var/run/monitor.pid\n"}};
  for (const auto &[content, message] : cases) {
    testbed::write_file("/var/run/monitor.pid", content);
    CaptureStdout();
    send_signal_velmora(SIGHUP);  // a signal to pid 0 or -1 would reach this test
    EXPECT_EQ(GetCapturedStdout(), message);
  }
  testbed::remove_file("/var/run/monitor.pid");
  CaptureStdout();
  send_signal_velmora(SIGHUP);
  EXPECT_EQ(GetCapturedStdout(), "nvram: monitor is not running\n");
}

// --- requests ---

TEST_F(WpsTest, AnyRequestMarksTheSessionOtherTypesStopThere) {
  testbed::remove_file("/tmp/lock");
  EXPECT_EQ(start_wps(3), 2);
  EXPECT_TRUE(testbed::wait_for([] { return testbed::file_exists("/tmp/lock"); }));
  std::string console = console_so_far();
  EXPECT_EQ(console.rfind("start wps, type:3!\n\n\n", 0), 0u) << console;
  EXPECT_EQ(console.find("doWPSHandler"), std::string::npos);
  EXPECT_TRUE(testbed::commands().empty());
  EXPECT_TRUE(testbed::requests("gpio").empty());
  EXPECT_EQ(testbed::monitor_hups(), 0u);
}

// A marker the background echo cannot write (its directory is missing) is
// reported and made again; the session starts all the same.
TEST_F(WpsTest, AMarkerThatCannotBeWrittenIsReportedAndTheSessionStillStarts) {
  testbed::remove_file("/tmp/lock");
  ASSERT_EQ(symlink("/tmp/missing-directory/lock", "/tmp/lock"), 0);
  EXPECT_EQ(start_wps(WPS_AS_ROUTER), 0);
  std::string console = console_so_far();
  EXPECT_NE(console.find("NO /tmp/lock , creat again!!!\n\n"), std::string::npos) << console;
  EXPECT_NE(console.find("\nWPS_AP_CATCH_CONFIGURED_TIMER:2\n\n"), std::string::npos) << console;
  EXPECT_EQ(g_wps_timer_state, 1);
}

TEST_F(WpsTest, RouterRequestIsRefusedOnlyWhenBothNetworksAreHidden) {
  for (int set : {0, 1}) nvram_bufset(set, "HideSSID", "1");
  EXPECT_EQ(start_wps(WPS_AS_ROUTER), 0);
  EXPECT_EQ(console_so_far(), "start wps, type:1!\n\n\ndoWPSHandler SIGUSR1 WPS_AS_ROUTER!\n\n\n");
  EXPECT_TRUE(testbed::commands().empty());
  EXPECT_TRUE(testbed::requests("gpio").empty());
  EXPECT_EQ(g_wps_timer_state, 0);

  nvram_bufset(1, "HideSSID", "0");
  wps_type = 1;
  fresh_logs();
  EXPECT_EQ(start_wps(WPS_AS_ROUTER), 0);
  EXPECT_EQ(wps_type, 0);
  EXPECT_EQ(g_wps_timer_state, 1);
  EXPECT_EQ(g_wps_elapsed_seconds, 0);
  EXPECT_EQ(testbed::commands(), Lines{"wireless.cgi wps_pbc 0"});
  EXPECT_EQ(testbed::requests("gpio led"),
            (Lines{kLine8Lit, led(10, {10, 10, 4000, 1, 4000}), kLine11Dark}));
  EXPECT_TRUE(hups_are(1));
  EXPECT_EQ(console_so_far(),
            "start wps, type:1!\n\n\ndoWPSHandler SIGUSR1 WPS_AS_ROUTER!\n\n\n"
            "\nWPS_AP_CATCH_CONFIGURED_TIMER:2\n\n");
}

// Set 1's "HideSSID" is read whatever set 0's says; the read shows as the
// report of set 1's damaged file.
TEST_F(WpsTest, RouterRequestReadsTheHideSsidOfBothSets) {
  testbed::damage_store_set(1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(start_wps(WPS_AS_ROUTER), 0);
  std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("rtdev is damaged"), std::string::npos) << errors;
}

// A session whose poll cannot be armed (its SIGALRM handler is refused)
// would blink and hold /tmp/lock for ever: it ends at once, as a time-out
// ends it, and removes the marker. The child reports what it saw.
TEST_F(WpsTest, ASessionWhosePollCannotBeArmedEndsAtOnce) {
  constexpr int kNoFilter = 2;
  CaptureStdout();
  pid_t child = fork();
  if (child == 0) {
    if (!testbed::refuse_signal_action(SIGALRM)) _exit(kNoFilter);
    int result = start_wps(WPS_AS_ROUTER);
    itimerval timer{};
    getitimer(ITIMER_REAL, &timer);
    bool stopped = timer.it_value.tv_sec == 0 && timer.it_value.tv_usec == 0;
    fflush(stdout);
    _exit(result == -1 && g_wps_timer_state == 0 && stopped ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  std::string notices = GetCapturedStdout();
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kNoFilter) GTEST_SKIP() << "no seccomp filter here to refuse it";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "start_wps gave -1 and left the timer stopped";
  EXPECT_FALSE(testbed::file_exists("/tmp/lock"));
  EXPECT_EQ(testbed::commands(), (Lines{"wireless.cgi wps_pbc 0", "iwpriv ra0 set WscStop=1",
                                        "iwpriv rai0 set WscStop=1"}));
  EXPECT_EQ(testbed::requests("gpio led"),
            concat({{kLine8Lit, led(10, {10, 10, 4000, 1, 4000}), kLine11Dark},
                    kEndedPattern,
                    {kInternetUp}}));
  EXPECT_EQ(count(notices, "notify app about WPS..\n"), 2u) << "at the start and at the end";
  std::string console = console_so_far();
  EXPECT_NE(console.find("wps poll cannot be armed, session ended!\n\n"), std::string::npos)
      << console;
}

// --- the poll of a router session ---

class WpsBandTest : public WpsTest, public testing::WithParamInterface<const char *> {};

TEST_P(WpsBandTest, RouterSuccessEndsTheSessionWithoutTouchingTheStore) {
  const std::string band = GetParam();
  start_router_session();
  testbed::wifi_status(band, "34");
  poll();
  EXPECT_FALSE(testbed::file_exists("/tmp/lock"));
  EXPECT_EQ(g_wps_timer_state, 0);
  EXPECT_EQ(testbed::requests("gpio led"), concat({kEndedPattern, {kInternetUp}}));
  EXPECT_TRUE(hups_are(1));
  EXPECT_STREQ(nvram_bufget(0, "UserInit"), "0");
  EXPECT_TRUE(testbed::commands().empty());
  const bool is_24g = band == "ra0";
  EXPECT_EQ(console_so_far(),
            std::string("\nwps_type 0\n\n") +
                (is_24g ? "\n\nWscStatus 24g:34 5g:0\n\n\n" : "\n\nWscStatus 24g:0 5g:34\n\n\n") +
                "------g_wps_timer_state == 1\n\n\n" +
                (is_24g ? "WscStatus_24g WscStatus_24g = 22 !!\n\n"
                          "queryWPSStatus wps 2.4G configured!!\n\n"
                          " __queryWPSStatus__wps_type = 0\n\n"
                          "WscStatus_5g WscStatus_5g = 0 !!\n\n"
                        : "WscStatus_24g WscStatus_24g = 0 !!\n\n"
                          "WscStatus_5g WscStatus_5g = 22 !!\n\n"
                          "queryWPSStatus wps 5G configured!!\n\n"));
}

INSTANTIATE_TEST_SUITE_P(Bands, WpsBandTest, testing::Values("ra0", "rai0"));

// A failure or an overlap on either band ends the session as a success does,
// with its own message; only a 2.4 GHz failure is also told on stdout.
struct SessionEnding {
  const char *band;
  const char *status;
  const char *console;
  const char *stdout_text;
};

class WpsEndingTest : public WpsTest, public testing::WithParamInterface<SessionEnding> {};

TEST_P(WpsEndingTest, FailuresAndOverlapEndTheSessionWithTheirMessages) {
  const SessionEnding &ending = GetParam();
  start_router_session();
  testbed::wifi_status(ending.band, ending.status);
  CaptureStdout();
  poll();
  EXPECT_EQ(GetCapturedStdout(), ending.stdout_text);
  std::string console = console_so_far();
  EXPECT_NE(console.find(ending.console), std::string::npos) << console;
  EXPECT_FALSE(testbed::file_exists("/tmp/lock"));
  EXPECT_EQ(g_wps_timer_state, 0);
  EXPECT_EQ(testbed::requests("gpio led"), concat({kEndedPattern, {kInternetUp}}));
  EXPECT_TRUE(hups_are(1));
}

constexpr char kNotified[] = "notify app about WPS..\n";

INSTANTIATE_TEST_SUITE_P(
    Endings, WpsEndingTest,
    testing::Values(
        SessionEnding{"ra0", "2", "WscStatus_24g WscStatus_24g = 2 !!\n\n",
                      "notify app about WPS..\nqueryWPSStatus wps FAIL!!\n"},
        SessionEnding{"rai0", "1", "WscStatus_5g WscStatus_5g = 1 !!\n\nwps failed!\n\n\n",
                      kNotified},
        SessionEnding{"ra0", "265",
                      "WscStatus_24g WscStatus_24g = 109 !!\n\nwps PBC_SESSION_OVERLAP!!\n\n",
                      kNotified},
        SessionEnding{"rai0", "265",
                      "WscStatus_5g WscStatus_5g = 109 !!\n\nwps PBC_SESSION_OVERLAP!!\n\n",
                      kNotified}),
    [](const testing::TestParamInfo<SessionEnding> &info) {
      return std::string(info.param.band) + "_status_" + info.param.status;
    });

TEST_F(WpsTest, OnePollCanEndBothBands) {
  start_router_session();
  testbed::wifi_status("ra0", "34");
  testbed::wifi_status("rai0", "2");
  CaptureStdout();
  poll();
  std::string notices = GetCapturedStdout();
  std::string console = console_so_far();
  EXPECT_LT(console.find("2.4G configured"), console.find("wps failed!\n\n\n"));
  EXPECT_EQ(testbed::requests("gpio led"),
            concat({kEndedPattern, {kInternetUp}, kEndedPattern, {kInternetUp}}));
  // Each band's ending signals the monitor. The two signals of one poll can
  // reach it as one (a signal still pending is not queued again), so the
  // notice printed with each signal sent counts them.
  EXPECT_EQ(testbed::count(notices, kNotified), 2u);
  EXPECT_TRUE(testbed::wait_for([] { return testbed::monitor_hups() >= 1; }));
  EXPECT_LE(testbed::monitor_hups(), 2u);
}

TEST_F(WpsTest, RouterSessionTimesOutAtTheSixtyFirstPollAndStillJudgesIt) {
  start_router_session();
  for (int i = 0; i < 60; ++i) poll();
  EXPECT_EQ(g_wps_elapsed_seconds, 120);
  EXPECT_TRUE(testbed::commands().empty());
  EXPECT_TRUE(testbed::requests("gpio led").empty());
  fresh_logs();
  poll();
  EXPECT_EQ(testbed::commands(), (Lines{"iwpriv ra0 set WscStop=1", "iwpriv rai0 set WscStop=1"}));
  EXPECT_EQ(g_wps_timer_state, 0);
  EXPECT_EQ(testbed::requests("gpio led"), concat({kEndedPattern, {kInternetUp}}));
  EXPECT_TRUE(testbed::file_exists("/tmp/lock"));
  std::string console = console_so_far();
  EXPECT_NE(console.find("WscStatus_24g WscStatus_24g = 0 !!\n\n"
                         "WscStatus_5g WscStatus_5g = 0 !!\n\n"),
            std::string::npos);
}

TEST_F(WpsTest, APollAfterTheSessionOnlyStopsAndNotifies) {
  testbed::write_file("/tmp/internetStatus", "0");
  poll();
  EXPECT_EQ(testbed::requests("gpio led"), kEndedPattern);
  EXPECT_TRUE(hups_are(1));
  EXPECT_TRUE(testbed::file_exists("/tmp/lock"));
  EXPECT_EQ(console_so_far(),
            "\nwps_type 0\n\n\n\nWscStatus 24g:0 5g:0\n\n\n------g_wps_timer_state == 0\n\n\n");
}

TEST_F(WpsTest, ANewRequestRestartsTheRunningPoll) {
  start_router_session();
  for (int i = 0; i < 50; ++i) poll();
  start_router_session();
  EXPECT_EQ(g_wps_elapsed_seconds, 0);
  for (int i = 0; i < 60; ++i) poll();
  EXPECT_TRUE(testbed::commands().empty());
  poll();
  EXPECT_EQ(testbed::commands().size(), 2u);
}

// The old session's alarm fires while the new request sets its session up
// (SIGALRM blocked, so it waits); it must not run as the new session's
// first poll. The alarm is queued with a value to tell it from the timer's.
TEST_F(WpsTest, AnAlarmOfTheOldSessionIsDroppedWhenANewOneStarts) {
  start_router_session();
  ASSERT_EQ(sigqueue(getpid(), SIGALRM, sigval{.sival_int = 1}), 0);
  sigset_t pending;
  ASSERT_EQ(sigpending(&pending), 0);
  ASSERT_EQ(sigismember(&pending, SIGALRM), 1);
  start_router_session();
  sigset_t alarm;
  sigemptyset(&alarm);
  sigaddset(&alarm, SIGALRM);
  siginfo_t info{};
  timespec none{};
  bool old_alarm_waits = sigtimedwait(&alarm, &info, &none) == SIGALRM && info.si_code == SI_QUEUE;
  EXPECT_FALSE(old_alarm_waits);
}

// --- repeater sessions ---

const Lines kPrepareApcli0 = {
    "iwpriv apcli0 set ApCliSsid=",       "iwpriv apcli0 set ApCliBssid=",
    "iwpriv apcli0 set ApCliEncrypType=", "iwpriv apcli0 set ApCliWPAPSK=",
    "iwpriv apcli0 set ApCliEnable=0",    "iwpriv apcli0 set WscConfMode=1",
    "iwpriv apcli0 set WscMode=2",        "iwpriv apcli0 set ApCliEnable=1",
    "iwpriv apcli0 set WscGetConf=1"};

Lines prepare_apclii0() {
  Lines lines;
  for (std::string line : kPrepareApcli0) lines.push_back(line.replace(7, 6, "apclii0"));
  return lines;
}

TEST_F(WpsTest, RepeaterRequestOutsideRepeaterModeIsRefused) {
  EXPECT_EQ(start_wps(WPS_AS_REPEATER), 0);
  EXPECT_EQ(console_so_far(),
            "start wps, type:2!\n\n\ndoWPSHandler SIGUSR2 WPS_AS_REPEATER!\n\n\n"
            "doWPSHandler 6s, but not repeater mode!\n\n\n");
  EXPECT_TRUE(testbed::commands().empty());
  EXPECT_TRUE(testbed::requests("gpio").empty());
  EXPECT_EQ(testbed::monitor_hups(), 0u);
}

TEST_F(WpsTest, RepeaterRequestResetsBothUpstreamClients) {
  nvram_bufset(0, "OperationMode", "3");
  for (int set : {0, 1}) {
    for (const char *key : {"ApCliSsid", "ApCliBssid", "ApCliAuthMode", "ApCliEncrypType",
                            "ApCliWPAPSK", "ApCliEnable"}) {
      nvram_bufset(set, key, "before");
    }
    nvram_commit(set);
  }
  EXPECT_EQ(start_wps(WPS_AS_REPEATER), 0);
  EXPECT_EQ(wps_type, 1);
  EXPECT_EQ(g_wps_timer_state, 1);
  // killall runs in the background: it may be recorded after the ifconfigs.
  Lines commands = testbed::commands();
  ASSERT_GE(commands.size(), 3u);
  std::sort(commands.begin(), commands.begin() + 3);
  EXPECT_EQ(commands, concat({{"ifconfig apcli0 up", "ifconfig apclii0 up", "killall -q udhcpc"},
                              kPrepareApcli0,
                              prepare_apclii0()}));
  EXPECT_EQ(testbed::requests("gpio led"),
            (Lines{kLine8Lit, led(10, {5, 5, 4000, 1, 4000}), kLine11Dark}));
  EXPECT_TRUE(hups_are(1));
  for (int set : {0, 1}) {
    testbed::Process show =
        testbed::spawn(testbed::program("nvram"), {"show", std::to_string(set)});
    show.wait();
    for (const char *key :
         {"ApCliSsid", "ApCliBssid", "ApCliAuthMode", "ApCliEncrypType", "ApCliWPAPSK"}) {
      EXPECT_NE(show.out().find(std::string(key) + "=\n"), std::string::npos) << set << key;
    }
    EXPECT_NE(show.out().find("ApCliEnable=0\n"), std::string::npos) << set;
    // One commit per set: the file it replaced, kept as the last good copy,
    // still has every key as before, so a cut cannot leave half of them.
    std::string replaced =
        testbed::read_file(std::string(NVRAM_DIR) + (set ? "/rtdev.bak" : "/2860.bak"));
    for (const char *key : {"ApCliSsid", "ApCliWPAPSK", "ApCliEnable"}) {
      EXPECT_NE(replaced.find(std::string(key) + "=before\n"), std::string::npos) << set << key;
    }
  }
}

TEST_F(WpsTest, RepeaterSessionTimesOutWithoutJudgingTheLastPoll) {
  nvram_bufset(0, "OperationMode", "3");
  ASSERT_EQ(start_wps(WPS_AS_REPEATER), 0);
  fresh_logs();
  for (int i = 0; i < 60; ++i) poll();
  testbed::wifi_status("apcli0", "34");
  fresh_logs();
  poll();
  EXPECT_EQ(testbed::commands(),
            (Lines{"iwpriv apcli0 set WscStop=1", "iwpriv apclii0 set WscStop=1"}));
  EXPECT_EQ(g_wps_elapsed_seconds, 0);
  EXPECT_EQ(g_wps_timer_state, 0);
  std::string console = console_so_far();
  EXPECT_NE(console.find("\n\nqueryWPSStatus end!!\n\n\n"), std::string::npos);
  EXPECT_EQ(console.find("WscStatus_24g"), std::string::npos);
  EXPECT_EQ(console.find("configured"), std::string::npos);
}

// A success applies the learned credentials (configAP reboots) and then
// stops the other band's enrollee.
struct RepeaterBand {
  const char *apcli;
  const char *other;
  int set;
  const char *ssid_key_value;
};

class WpsRepeaterBandTest : public WpsTest, public testing::WithParamInterface<RepeaterBand> {};

TEST_P(WpsRepeaterBandTest, RepeaterSuccessOnEitherBandAppliesTheCredentialsAndReboots) {
  const RepeaterBand &band = GetParam();
  nvram_bufset(0, "OperationMode", "3");
  ASSERT_EQ(start_wps(WPS_AS_REPEATER), 0);
  testbed::wifi_configured_value(band.apcli, {"Upstream", 32, 8, 0, "passphrase", 8});
  testbed::wifi_bssid(band.apcli, "00:11:22:33:44:55");
  testbed::wifi_channel(band.apcli, 11);
  testbed::wifi_status(band.apcli, "3 34");
  poll();
  ASSERT_TRUE(hups_are(1)) << "the start's signal";
  fresh_logs();
  poll();
  EXPECT_EQ(testbed::commands(),
            (Lines{"reboot", std::string("iwpriv ") + band.other + " set WscStop=1"}));
  EXPECT_FALSE(testbed::file_exists("/tmp/lock"));
  EXPECT_EQ(g_wps_timer_state, 0);
  const std::vector<std::tuple<int, std::string, std::string>> stored = {
      {0, "UserInit", "12"},
      {0, "OperationMode", "3"},
      {0, "ENWISP", "1"},
      {0, "dhcpEnabled", "2"},
      {0, "natEnabled", "1"},
      {band.set, "ApCliSsid", "Upstream"},
      {band.set, "ApCliEnable", "1"},
      {band.set, "ApCliAuthMode", "WPA2PSK"},
      {band.set, "ApCliEncrypType", "AES"},
      {band.set, "ApCliWPAPSK", "passphrase"},
      {band.set, "ApCliBssid", "00:11:22:33:44:55"},
      {band.set, "Channel", "11"},
      {band.set, "AutoChannelSelect", "0"},
      {1 - band.set, "ApCliEnable", "0"},
      {band.set, "SSID1", band.ssid_key_value},
      {0, "WPAPSK1", "passphrase"},
      {1, "WPAPSK1", "passphrase"},
      {0, "AuthMode", "WPA2PSK"},
      {1, "AuthMode", "WPA2PSK"},
      {0, "EncrypType", "AES"},
      {1, "EncrypType", "AES"},
  };
  for (const auto &[set, key, value] : stored) {
    testbed::Process get =
        testbed::spawn(testbed::program("nvram"), {"get", std::to_string(set), key});
    get.wait();
    EXPECT_EQ(get.out(), value + "\n") << "set " << set << " " << key;
  }
  EXPECT_TRUE(hups_are(1));
}

INSTANTIATE_TEST_SUITE_P(Bands, WpsRepeaterBandTest,
                         testing::Values(RepeaterBand{"apcli0", "apclii0", 0, "Upstream_EXT2.4G"},
                                         RepeaterBand{"apclii0", "apcli0", 1, "Upstream_EXT5G"}));

}  // namespace
