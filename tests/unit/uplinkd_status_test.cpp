// uplinkd's status loop driven cycle by cycle in-process: link and internet
// readings, the internet LED requests, the link-down count, wait readings,
// a missing /tmp/Link, the one NTP start and the mesh-interface actions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "nvram.h"
#include "tests/support/led_requests.h"
#include "tests/support/log_text.h"
#include "tests/support/testbed.h"
#include "tests/unit/uplink_test_support.h"
#include "uplinkd/uplinkd.h"

namespace {

using Lines = std::vector<std::string>;

using testbed::kInternetLeds;  // state 1 (internet reachable)
using testbed::kLedDark;
using testbed::kLedLit;
using testbed::kLedSlowBlink;
using testbed::kNoInternetLeds;  // state 2 (not reachable)
using testbed::led;

Lines operator+(Lines a, const Lines &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

using testbed::count;

class StatusLoop : public testing::Test {
 protected:
  void SetUp() override {
    testbed::reset();
    testbed::set_time_divisor(1000);
    testbed::write_file("/tmp/log", "");
    nvram_bufset(0, "OperationMode", "1");
    testbed::wan_link(true);
    led_status = LED_STATE_NONE;
    link_status = LINK_STATE_UNREAD;
    link_down_count = 0;
    ntp_started = 0;
    mesh_acl_sent = 0;
    ntp_enabled = "0";
    operation_mode = "1";
    mesh_mode = "0";
    jobs_.remember();
  }
  void TearDown() override { jobs_.settle(); }

  void settle() const { jobs_.settle(); }
  Lines commands() {
    settle();
    return testbed::commands();
  }
  static Lines leds() { return testbed::requests("gpio led"); }
  static std::string console() { return uplink_test::console_so_far(); }
  static void link(const char *content) { testbed::write_file("/tmp/Link", content); }
  static void internet(const char *content) { testbed::write_file("/tmp/internetStatus", content); }

  uplink_test::BackgroundJobs jobs_;
};

TEST_F(StatusLoop, LedFollowsTheInternetStateAndIsDrivenOnlyOnChange) {
  link("1\n");
  internet("1\n");
  status_cycle();  // the first request always takes effect
  EXPECT_EQ(leds(), kInternetLeds);
  EXPECT_EQ(led_status, 1);
  status_cycle();
  EXPECT_EQ(leds(), kInternetLeds);

  internet("0\n");
  status_cycle();
  EXPECT_EQ(leds(), kInternetLeds + kNoInternetLeds);
  status_cycle();
  EXPECT_EQ(leds(), kInternetLeds + kNoInternetLeds);

  std::string log = console();
  EXPECT_NE(log.find("Link: yes\n\n"), std::string::npos);
  EXPECT_NE(log.find("update_internet_led status= 1,led_status=4 \n\n"), std::string::npos);
  EXPECT_NE(log.find("update_internet_led status= 2,led_status=1 \n\n"), std::string::npos);
  EXPECT_NE(log.find("update_internet_led status= 2,led_status=2 \n\n"), std::string::npos);
  // A negative internet reading is taken a second time within the cycle.
  EXPECT_EQ(count(log, "internet: yes\n\n"), 2u);
  EXPECT_EQ(count(log, "internet: no\n\n"), 4u);
}

TEST_F(StatusLoop, MissingInternetStatusCountsAsUnreachable) {
  link("1\n");
  status_cycle();
  EXPECT_EQ(leds(), kNoInternetLeds);
  EXPECT_EQ(count(console(), "internetStatus NULL\n\n"), 2u);
}

TEST_F(StatusLoop, LinkLossShowsOnlyInTheFourthDownCycleInARow) {
  link("1\n");
  internet("1\n");
  status_cycle();
  link("0\n");
  for (unsigned cycle = 1; cycle <= 3; ++cycle) {
    status_cycle();
    EXPECT_EQ(link_down_count, cycle);
    EXPECT_EQ(leds(), kInternetLeds) << "down cycle " << cycle;
  }
  // Each down cycle reads the link twice.
  EXPECT_EQ(count(console(), "Link: no\n\n"), 6u);
  status_cycle();
  EXPECT_EQ(link_down_count, 3);
  EXPECT_EQ(leds(), kInternetLeds + kNoInternetLeds);
  status_cycle();
  EXPECT_EQ(leds(), kInternetLeds + kNoInternetLeds);
}

TEST_F(StatusLoop, AnUpCycleStartsTheDownCountAgain) {
  internet("1\n");
  link("0\n");
  status_cycle();
  status_cycle();
  EXPECT_EQ(link_down_count, 2);
  link("1\n");
  status_cycle();
  EXPECT_EQ(link_down_count, 0);
  link("0\n");
  for (int cycle = 0; cycle < 3; ++cycle) status_cycle();
  EXPECT_EQ(leds(), kInternetLeds);
  status_cycle();
  EXPECT_EQ(leds(), kInternetLeds + kNoInternetLeds);
}

TEST_F(StatusLoop, WaitReadingLeavesTheLedAndMakesTheNextReadingATransition) {
  link("1\n");
  internet("1\n");
  status_cycle();
  link_down_count = 2;
  for (const char *wait : {"2\n", "", "x"}) {
    link(wait);
    status_cycle();
    EXPECT_EQ(link_status, LINK_WAIT);
    EXPECT_EQ(led_status, LED_STATE_NONE);
    EXPECT_EQ(link_down_count, 2) << "wait cycles leave the count";
  }
  EXPECT_EQ(leds(), kInternetLeds);
  std::string log = console();
  EXPECT_EQ(count(log, "Link: wait\n\n"), 3u);
  EXPECT_EQ(count(log, "wps or touchlink, wait\n"), 3u);

  // The same state as before the wait is applied again.
  link("1\n");
  status_cycle();
  EXPECT_EQ(leds(), kInternetLeds + kInternetLeds);
}

TEST_F(StatusLoop, MissingLinkFileIsRecreatedWithoutATransition) {
  link("1\n");
  internet("1\n");
  status_cycle();
  ASSERT_EQ(link_status, LINK_UP);
  ASSERT_EQ(led_status, 1);

  for (bool up : {false, true}) {
    testbed::remove_file("/tmp/Link");
    testbed::wan_link(up);
    EXPECT_EQ(getWanStatus(), up ? LINK_UP : LINK_DOWN);
    EXPECT_EQ(link_status, LINK_UP);
    EXPECT_EQ(led_status, 1);
    settle();
    EXPECT_EQ(testbed::read_file("/tmp/Link"), up ? "1\n" : "0\n");
  }
  EXPECT_EQ(count(console(), "Link NULL\n\n"), 2u);

  // The reading after it compares with the state before the file went missing.
  link("0\n");
  EXPECT_EQ(getWanStatus(), LINK_DOWN);
  EXPECT_EQ(led_status, LED_STATE_NONE);
}

TEST_F(StatusLoop, EveryLinkReadingRefreshesWanStatus) {
  link("1\n");
  testbed::wan_link(false);
  getWanStatus();
  settle();
  EXPECT_EQ(testbed::read_file("/tmp/wanStatus"), "0\n");
  testbed::wan_link(true);
  getWanStatus();
  settle();
  EXPECT_EQ(testbed::read_file("/tmp/wanStatus"), "1\n");
}

TEST_F(StatusLoop, NtpStartsOnceAndOnlyWhenEnabled) {
  for (const char *enabled : {"0", "", "11", "1 "}) {
    ntp_enabled = enabled;
    link("1\n");
    internet("1\n");
    status_cycle();
    EXPECT_EQ(commands(), Lines{}) << "ntpEnabled '" << enabled << "'";
  }

  ntp_enabled = "1";
  internet("0\n");
  status_cycle();
  EXPECT_EQ(commands(), Lines{});
  for (const char *reachable : {"1\n", "0\n", "1\n"}) {
    internet(reachable);
    status_cycle();
  }
  link("0\n");
  for (int cycle = 0; cycle < 4; ++cycle) status_cycle();
  link("1\n");
  status_cycle();
  EXPECT_EQ(commands(), Lines{"ntp.sh"});
  EXPECT_EQ(ntp_started, 1);
}

TEST_F(StatusLoop, MeshInterfaceFollowsTheLinkInMeshRepeaterMode) {
  mesh_mode = "2";
  operation_mode = "3";
  nvram_bufset(0, "OperationMode", "3");
  internet("1\n");

  // The first reading after start is always a transition.
  link("0\n");
  status_cycle();
  Lines down = commands();
  std::sort(down.begin(), down.end());
  EXPECT_EQ(down, (Lines{"config-udhcpd.sh -p", "ifconfig rai3 down"}));

  testbed::clear_logs();
  mesh_acl_sent = 1;
  link("1\n");
  status_cycle();
  status_cycle();
  EXPECT_EQ(commands(), Lines{"ifconfig rai3 up"});
  EXPECT_EQ(mesh_acl_sent, 0);

  // A wait reading in between makes the next '1' a transition again.
  testbed::clear_logs();
  link("2\n");
  status_cycle();
  link("1\n");
  status_cycle();
  EXPECT_EQ(commands(), Lines{"ifconfig rai3 up"});
}

TEST_F(StatusLoop, OutsideMeshRepeaterModeTransitionsOnlyResetTheLed) {
  internet("1\n");
  for (auto [mesh, operation] : {std::pair{"2", "1"}, std::pair{"1", "3"}, std::pair{"0", "3"}}) {
    mesh_mode = mesh;
    operation_mode = operation;
    mesh_acl_sent = 1;
    link("1\n");
    status_cycle();
    link("0\n");
    status_cycle();
    EXPECT_EQ(led_status, LED_STATE_NONE);
    EXPECT_EQ(mesh_acl_sent, 1);
    EXPECT_EQ(commands(), Lines{}) << mesh << " " << operation;
  }
}

TEST_F(StatusLoop, LedStatesAndTheirRequests) {
  const Lines kAll = {
      led(8, kLedDark),  led(10, kLedLit),  led(11, kLedDark),     led(8, kLedLit),
      led(10, kLedDark), led(11, kLedDark), led(8, kLedSlowBlink), led(8, {3, 3, 4000, 0, 4000})};
  for (int state : {0, 1, 2, 3, 3, 7}) update_internet_led(state);
  EXPECT_EQ(leds(), kAll);
  // Another value is only stored, so the next request takes effect.
  EXPECT_EQ(led_status, 7);
  update_internet_led(3);
  EXPECT_EQ(leds(), kAll + Lines{kAll.back()});
}

}  // namespace
