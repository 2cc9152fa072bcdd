// The real uplinkd in the sandbox: start-up with its pid file and the first
// /tmp/Link, the uplink in router and repeater mode, the internet LED and the
// NTP start, and the end through SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <vector>

#include "tests/support/led_requests.h"
#include "tests/support/log_text.h"
#include "tests/support/testbed.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kPidFile[] = "/var/run/uplinkd.pid";
constexpr char kSavedPidfile[] = "saved_pidfile:/var/run/uplinkd.pid\n";
using testbed::count;
using testbed::kInternetLeds;
using testbed::kNoInternetLeds;

class UplinkdScenario : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    testbed::set_time_divisor(50);
  }
  void TearDown() override { testbed::stop_all(); }

  static void configure(const std::string &set, const std::string &key, const std::string &value) {
    ASSERT_EQ(
        testbed::sh(testbed::program("nvram") + " set " + set + " " + key + " '" + value + "'"), 0);
  }
  // The first LED state the daemon applied.
  static Lines first_leds() {
    EXPECT_TRUE(testbed::wait_for([] { return testbed::requests("gpio led").size() >= 3; }));
    Lines leds = testbed::requests("gpio led");
    leds.resize(3);
    return leds;
  }
  static bool file_is(const std::string &path, const std::string &content) {
    return testbed::wait_for([&] { return testbed::read_file(path) == content; });
  }
};

TEST_F(UplinkdScenario, StartsWithItsPidFileAndTheLinkOfTheWanPort) {
  testbed::wan_link(true);
  testbed::write_file("/tmp/internetStatus", "1\n");
  testbed::Process uplinkd = testbed::spawn(testbed::program("uplinkd"));
  EXPECT_TRUE(file_is(kPidFile, std::to_string(uplinkd.pid) + "\n"));
  EXPECT_TRUE(file_is("/tmp/Link", "1\n"));
  EXPECT_TRUE(file_is("/tmp/wanStatus", "1\n"));
  EXPECT_EQ(first_leds(), kInternetLeds);
  // ntpEnabled is "1" by default: the NTP script runs once.
  EXPECT_TRUE(testbed::wait_for([] { return testbed::commands() == Lines{"ntp.sh"}; }));
  EXPECT_TRUE(uplinkd.running());
}

TEST_F(UplinkdScenario, WanPortDownIsPublishedAndShownFromTheFourthCycle) {
  testbed::wan_link(false);
  configure("0", "ntpEnabled", "0");
  testbed::Process uplinkd = testbed::spawn(testbed::program("uplinkd"));
  EXPECT_TRUE(file_is("/tmp/Link", "0\n"));
  EXPECT_TRUE(file_is("/tmp/wanStatus", "0\n"));
  EXPECT_EQ(first_leds(), kNoInternetLeds);
  EXPECT_TRUE(testbed::commands().empty());
  EXPECT_TRUE(uplinkd.running());
}

TEST_F(UplinkdScenario, RepeaterModeFollowsTheUpstreamClient) {
  configure("0", "OperationMode", "3");
  configure("0", "ApCliEnable", "1");
  testbed::wan_link(false);
  testbed::wifi_connstatus("apcli0", "1");
  testbed::Process uplinkd = testbed::spawn(testbed::program("uplinkd"));
  EXPECT_TRUE(file_is("/tmp/Link", "1\n"));
  EXPECT_TRUE(file_is("/tmp/wanStatus", "1\n"));
  EXPECT_FALSE(testbed::requests("wifi apcli0 connstatus len=2048").empty());

  // The loop refreshes /tmp/wanStatus; /tmp/Link is only read.
  testbed::wifi_connstatus("apcli0", "0");
  EXPECT_TRUE(file_is("/tmp/wanStatus", "0\n"));
  EXPECT_EQ(testbed::read_file("/tmp/Link"), "1\n");
  EXPECT_TRUE(uplinkd.running());
}

TEST_F(UplinkdScenario, SigtermRemovesThePidFileAndExitsWithZero) {
  testbed::write_file("/tmp/log", "");
  testbed::Process uplinkd = testbed::spawn(testbed::program("uplinkd"));
  ASSERT_TRUE(file_is(kPidFile, std::to_string(uplinkd.pid) + "\n"));
  // Let it run a few cycles first.
  ASSERT_TRUE(testbed::wait_for([] { return count(testbed::console(), "Link: ") >= 3; }));
  uplinkd.signal(SIGTERM);
  EXPECT_EQ(uplinkd.wait(), 0);
  EXPECT_FALSE(testbed::file_exists(kPidFile));
  // The handler removes the file, and the exit action tries once more.
  EXPECT_EQ(count(uplinkd.out(), kSavedPidfile), 2u) << uplinkd.out();
  EXPECT_TRUE(testbed::wait_for_text(testbed::kConsoleLog, "remove_pid_Handler:SIGTERM\n\n"));
}

}  // namespace
