// The control library refuses what the fake drivers could not answer with,
// and keeps the earlier state when it does; reset() brings the defaults back.
#include <gtest/gtest.h>

#include "sim/fakehwctl/control.h"
#include "tests/support/testbed.h"

namespace {

class FakeControl : public testing::Test {
 protected:
  void SetUp() override { testbed::reset(); }
};

TEST_F(FakeControl, MalformedWirelessAnswersAreRefused) {
  EXPECT_FALSE(fakehwctl::set_wifi_status("ra0", "0 x"));
  EXPECT_FALSE(fakehwctl::set_wifi_status("../ra0", "0"));
  EXPECT_FALSE(fakehwctl::set_wifi_status("", "0"));
  EXPECT_FALSE(fakehwctl::set_wifi_channel("apcli0", "256"));
  EXPECT_FALSE(fakehwctl::set_wifi_bssid("apcli0", "00:11:22:33:44"));
  EXPECT_FALSE(fakehwctl::set_wifi_acl("rai3", {"00:11:22:33:44:5G"}));
  EXPECT_FALSE(fakehwctl::set_wifi_acl("rai3", std::vector<std::string>(65, "00:11:22:33:44:55")));
  EXPECT_TRUE(fakehwctl::set_wifi_acl("rai3", std::vector<std::string>(64, "00:11:22:33:44:55")));
  EXPECT_FALSE(fakehwctl::set_wifi_connstatus("apcli0", std::string(2048, 'x')));
  EXPECT_FALSE(fakehwctl::set_wifi_fail("apcli0", "oid=0xZZ"));
  EXPECT_FALSE(fakehwctl::set_wifi_profile("apcli0", {std::string(33, 's'), 0, 0, "", 0, 0}));
  EXPECT_FALSE(fakehwctl::set_wifi_profile("apcli0", {"s", 0x10000, 0, "", 0, 0}));
  EXPECT_TRUE(fakehwctl::set_wifi_profile(
      "apcli0", {std::string(32, 's'), 0, 0, std::string(64, 'k'), 64, 0}));
  EXPECT_FALSE(fakehwctl::set_wifi_configured("apcli0", {0, std::string(33, 's'), 0, 0, 0, "", 0}));
  EXPECT_FALSE(
      fakehwctl::set_wifi_configured("apcli0", {0, "s", 0, 0, 0, std::string(65, 'k'), 0}));
  EXPECT_FALSE(fakehwctl::set_wifi_configured("apcli0", {0, "s", 0, 0, 256, "", 0}));
}

TEST_F(FakeControl, MalformedSwitchesAreRefused) {
  EXPECT_FALSE(fakehwctl::set_time_divisor(0));
  EXPECT_FALSE(fakehwctl::init_state(0));
  EXPECT_FALSE(fakehwctl::set_bank_levels(4, 0));
  fakehwctl::Result unknown = fakehwctl::set_gpio_fail("read bogus");
  ASSERT_FALSE(unknown);
  EXPECT_NE(unknown.error.find("\"bogus\""), std::string::npos) << unknown.error;
  EXPECT_FALSE(fakehwctl::set_rdm_fail("0x6B04"));
  EXPECT_NE(fakehwctl::show().find("gpio fail none\n"), std::string::npos) << "nothing half-set";
}

TEST_F(FakeControl, ResetBringsBackTheDefaults) {
  testbed::set_time_divisor(7);
  testbed::gpio_fail("read");
  testbed::gpio_missing(true);
  testbed::rdm_fail("0x6B03");
  testbed::wan_link(false);
  testbed::gpio_bank_levels(2, 0);
  testbed::button_script("0x3");
  testbed::wifi_status("ra0", "34");
  testbed::reset();
  EXPECT_EQ(fakehwctl::show(),
            "time-divisor 1\nlogging on\ngpio missing no\ngpio fail none\n"
            "gpio banks 0xffffffff 0xffffffff 0xffffffff 0xffffffff\n"
            "button 0 reads of 0 samples, then released\n"
            "rdm missing no\nrdm fail none\nwan-link 1\n");
}

}  // namespace
