// The real buttond in the sandbox: start-up, pid file, the button monitor's
// hold lengths, press counters, failures of the GPIO device.
#include <gtest/gtest.h>
#include <signal.h>

#include "tests/support/testbed.h"
#include "tests/support/write_recorder.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kPidFile[] = "/var/run/buttond.pid";

class ButtondMonitor : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    testbed::set_time_divisor(50);
  }
  void TearDown() override { testbed::stop_all(); }

  // Starts buttond with the button script and waits until it has consumed
  // the whole script (plus the idle reads after it).
  testbed::Process run_script(std::string_view script, unsigned samples) {
    testbed::button_script(script);
    testbed::Process buttond = testbed::spawn(testbed::program("buttond"));
    EXPECT_TRUE(testbed::wait_for([&] { return testbed::button_reads() >= samples; }))
        << "reads: " << testbed::button_reads();
    return buttond;
  }

  static bool wps_started() {
    return testbed::console().find("start wps, type:1!\n\n\n") != std::string::npos;
  }
};

TEST_F(ButtondMonitor, WritesItsPidFileAndRemovesItAfterTheReset) {
  testbed::Process buttond = run_script("1x5", 10);
  ASSERT_TRUE(testbed::wait_for_text(kPidFile, "\n"));
  EXPECT_EQ(testbed::read_file(kPidFile), std::to_string(buttond.pid) + "\n");
  testbed::button_script("0x100");
  EXPECT_EQ(buttond.wait(), 0);
  EXPECT_FALSE(testbed::file_exists(kPidFile));
  // "reset &" runs in the background and may record itself after the exit.
  ASSERT_TRUE(testbed::wait_for_lines(testbed::kCommandsLog, 1));
  EXPECT_EQ(testbed::commands(), Lines{"reset"});
  EXPECT_NE(buttond.out().find("saved_pidfile:/var/run/buttond.pid\n"), std::string::npos);
}

TEST_F(ButtondMonitor, MissingDeviceEndsTheDaemonCleanly) {
  testbed::gpio_missing(true);
  testbed::Process buttond = testbed::spawn(testbed::program("buttond"));
  EXPECT_EQ(buttond.wait(), 0);
  EXPECT_EQ(buttond.err(), "/dev/gpio: No such file or directory\n");
  EXPECT_FALSE(testbed::file_exists(kPidFile));
  EXPECT_TRUE(testbed::commands().empty());
}

TEST_F(ButtondMonitor, AnIdleSampleIsOneDirectionAndOneReadRequest) {
  testbed::Process buttond = run_script("1", 6);
  Lines requests = testbed::requests("gpio");
  ASSERT_GE(requests.size(), 10u);
  for (size_t i = 0; i + 1 < 10; i += 2) {
    EXPECT_EQ(requests[i], "gpio dir-in cmd=0x11 mask=0x2");
    EXPECT_EQ(requests[i + 1].rfind("gpio read cmd=0x02 -> ", 0), 0u) << requests[i + 1];
  }
  EXPECT_TRUE(buttond.running());
  EXPECT_TRUE(testbed::commands().empty());
  EXPECT_FALSE(testbed::file_exists("/tmp/wps_times"));
}

// Each pressed sample publishes the press total to both files from a
// background job; the jobs can end in any order, so the tests check every
// total written rather than what a file holds last.
TEST_F(ButtondMonitor, NineteenSamplesOnlyCount) {
  testbed::WriteRecorder wps_times("/tmp/wps_times"), reset_times("/tmp/reset_times");
  testbed::Process buttond = run_script("1x2 0x19 1", 40);
  EXPECT_TRUE(wps_times.wrote_one_to(19));
  EXPECT_TRUE(reset_times.wrote_one_to(19));
  EXPECT_FALSE(wps_started());
  EXPECT_TRUE(buttond.running());
}

TEST_F(ButtondMonitor, TwentyAndNinetyNineSamplesStartWpsAtTheRelease) {
  for (unsigned hold : {20u, 99u}) {
    testbed::reset();
    testbed::set_time_divisor(50);
    testbed::WriteRecorder wps_times("/tmp/wps_times");
    testbed::Process buttond = run_script("0x" + std::to_string(hold) + " 1", hold + 2);
    ASSERT_TRUE(testbed::wait_for(wps_started)) << "hold " << hold;
    EXPECT_TRUE(buttond.running());
    std::string console = testbed::console();
    EXPECT_EQ(console.find("start wps"), console.rfind("start wps")) << "started once";
    EXPECT_TRUE(wps_times.wrote_one_to(hold));
    testbed::stop_all();
  }
}

TEST_F(ButtondMonitor, AHundredSamplesRunTheResetBeforeAnyRelease) {
  testbed::WriteRecorder reset_times("/tmp/reset_times");
  testbed::Process buttond = run_script("0x100 1", 100);
  EXPECT_EQ(buttond.wait(), 0);
  ASSERT_TRUE(testbed::wait_for_lines(testbed::kCommandsLog, 1));
  EXPECT_EQ(testbed::commands(), Lines{"reset"});
  EXPECT_EQ(testbed::button_reads(), 100u) << "no sample after the hundredth";
  EXPECT_FALSE(wps_started());
  EXPECT_TRUE(reset_times.wrote_one_to(100));
}

TEST_F(ButtondMonitor, PressTotalsAddUpOverPresses) {
  testbed::WriteRecorder wps_times("/tmp/wps_times"), reset_times("/tmp/reset_times");
  testbed::Process buttond = run_script("0x30 1x3 0x25 1", 70);
  EXPECT_TRUE(wps_times.wrote_one_to(55));
  EXPECT_TRUE(reset_times.wrote_one_to(55));
}

TEST_F(ButtondMonitor, FailedReadsNeitherEndNorExtendAPress) {
  testbed::gpio_fail("read");
  testbed::button_script("0x200");
  testbed::Process buttond = testbed::spawn(testbed::program("buttond"));
  ASSERT_TRUE(testbed::wait_for([] { return testbed::requests("gpio refused").size() >= 150; }));
  EXPECT_TRUE(buttond.running());
  EXPECT_TRUE(testbed::commands().empty());
  EXPECT_FALSE(wps_started());
  EXPECT_EQ(testbed::button_reads(), 0u);
}

// Counts the result lines of the WPS polls seen on the console.
size_t polls_seen() {
  std::string console = testbed::console();
  size_t count = 0;
  for (size_t at = console.find("WscStatus 24g:"); at != std::string::npos;
       at = console.find("WscStatus 24g:", at + 1)) {
    ++count;
  }
  return count;
}

// The console text of the n-th poll (from 1), up to its result line.
std::string poll_text(const std::string &console, size_t n) {
  size_t start = std::string::npos;
  for (size_t i = 0; i < n; ++i) {
    start = console.find("\nwps_type ", start == std::string::npos ? 0 : start + 1);
    if (start == std::string::npos) return "";
  }
  return console.substr(start, console.find("WscStatus 24g:", start) - start);
}

TEST_F(ButtondMonitor, DebugSwitchTakesEffectWhileTheDaemonRuns) {
  // A router session whose status queries fail logs a debug line per query;
  // a poll every 100 ms leaves the session six seconds before its time-out.
  testbed::wifi_fail("ra0", "all");
  testbed::set_time_divisor(20);
  testbed::Process buttond = run_script("0x20 1", 22);
  ASSERT_TRUE(testbed::wait_for([] { return polls_seen() >= 1; }));
  EXPECT_EQ(testbed::console().find("ioctl error\n"), std::string::npos);
  testbed::write_file("/tmp/log", "");
  ASSERT_TRUE(testbed::wait_for_text(testbed::kConsoleLog, "ioctl error\n"));
  testbed::remove_file("/tmp/log");
  // The driver logs each poll's 5 GHz query as it happens, the console comes
  // later: the poll after the next one to query began after the switch went.
  size_t queried = testbed::requests("wifi rai0 oid=0x0751").size();
  ASSERT_TRUE(testbed::wait_for([&] { return polls_seen() >= queried + 2; }));
  std::string console = testbed::console();
  std::string later_poll = poll_text(console, queried + 2);
  ASSERT_NE(later_poll, "") << console;
  EXPECT_EQ(later_poll.find("ioctl error\n"), std::string::npos) << later_poll;
}

}  // namespace
