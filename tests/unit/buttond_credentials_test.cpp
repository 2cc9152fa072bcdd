// configAP against the fake wireless driver and the real store: access-point
// profiles into a slot, upstream credentials into both radios and repeater
// mode, the channel and BSSID queries, and records the driver did not fill.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buttond/buttond.h"
#include "nvram.h"
#include "tests/support/testbed.h"
#include "tests/unit/console_capture.h"

namespace {

using Lines = std::vector<std::string>;

std::string get(int set, const std::string &key) { return nvram_bufget(set, key.c_str()); }

// The committed value, as another process (the nvram tool) reads it.
std::string committed(int set, const std::string &key) {
  testbed::Process tool =
      testbed::spawn(testbed::program("nvram"), {"get", std::to_string(set), key});
  tool.wait();
  std::string out = tool.out();
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

bool rebooted() {
  for (const std::string &command : testbed::commands()) {
    if (command == "reboot") return true;
  }
  return false;
}

class CredentialsTest : public testing::Test {
 protected:
  void SetUp() override { fresh_board(); }

  // A fresh board with the store below; a case of a loop starts from it.
  static void fresh_board() {
    testbed::reset();
    testbed::set_time_divisor(100);
    // Two access-point slots per radio, so element 1 must survive.
    for (int set : {0, 1}) {
      for (const char *key : {"AuthMode", "EncrypType", "DefaultKeyID", "IEEE8021X",
                              "WscConfStatus", "Key1Type", "Key2Type", "Key3Type", "Key4Type"}) {
        nvram_bufset(set, key, "a0;a1");
      }
      for (const char *key :
           {"SSID1", "SSID2", "WscSSID2", "WPAPSK1", "WPAPSK2", "Key1Str1", "Key2Str1", "Key3Str1",
            "Key4Str1", "Key1Str2", "Key2Str2", "Key3Str2", "Key4Str2", "ApCliKey1",
            "ApCliDefaultKeyID", "ApCliWPAPSK", "ApCliSsid", "ApCliAuthMode", "Channel"}) {
        nvram_bufset(set, key, "old");
      }
      nvram_bufset(set, "ApCliEnable", "9");
      nvram_commit(set);
    }
    nvram_bufset(0, "OperationMode", "1");
    nvram_commit(0);
    testbed::wifi_bssid("apcli0", "00:11:22:33:44:55");
    testbed::wifi_bssid("apclii0", "00:11:22:33:44:66");
    testbed::wifi_channel("apcli0", 6);
    testbed::wifi_channel("apclii0", 149);
    testbed::clear_logs();
  }
};

// --- access-point path ---

TEST_F(CredentialsTest, ApProfileFillsItsSlotOfItsSetAndReboots) {
  std::string key(64, 'k');
  key[63] = 'z';
  testbed::wifi_profile("rai0", {"Guest", 32, 8, key, 64, 0});
  configAP("rai0", 1, 1);
  EXPECT_EQ(get(1, "SSID2"), "Guest");
  EXPECT_EQ(get(1, "WscSSID2"), "Guest");
  EXPECT_EQ(get(1, "WscConfStatus"), "a0;2");
  EXPECT_EQ(get(1, "AuthMode"), "a0;WPA2PSK");
  EXPECT_EQ(get(1, "EncrypType"), "a0;AES");
  EXPECT_EQ(get(1, "DefaultKeyID"), "a0;2");
  EXPECT_EQ(get(1, "IEEE8021X"), "a0;0");
  EXPECT_EQ(get(1, "WPAPSK2"), key);
  EXPECT_EQ(get(1, "SSID1"), "old");
  EXPECT_EQ(get(0, "AuthMode"), "a0;a1") << "the other set is not touched";
  EXPECT_EQ(committed(1, "WPAPSK2"), key);
  EXPECT_EQ(testbed::commands(), Lines{"reboot"});
  EXPECT_EQ(console_so_far(),
            "__configAP__ ifname = rai0\n\n"
            "wsc_profile->Profile[0].EncrType:8\n"
            "configAP end\n\n\n");
}

TEST_F(CredentialsTest, ApAuthenticationTypesMapToTheirNames) {
  const std::vector<std::pair<unsigned, std::string>> cases = {
      {2, "WPAPSK"},   {4, "SHARED"},         {8, "WPA"},  {16, "WPA2"},
      {32, "WPA2PSK"}, {34, "WPAPSKWPA2PSK"}, {1, "OPEN"}, {64, "OPEN"}};
  for (const auto &[auth, name] : cases) {
    testbed::wifi_profile("ra0", {"Net", auth, 1, "", 0, 0});
    configAP("ra0", 0, 0);
    EXPECT_EQ(get(0, "AuthMode"), name + ";a1") << auth;
    EXPECT_EQ(get(0, "EncrypType"), "NONE;a1") << auth;
    EXPECT_EQ(get(0, "DefaultKeyID"), "1;a1") << auth;
  }
}

TEST_F(CredentialsTest, ApWpaPskWithTkipIsOfferedWithBothVersions) {
  testbed::wifi_profile("ra0", {"Net", 2, 4, "passphrase", 10, 0});
  configAP("ra0", 0, 0);
  EXPECT_EQ(get(0, "AuthMode"), "WPAPSKWPA2PSK;a1");
  EXPECT_EQ(get(0, "EncrypType"), "TKIPAES;a1");
  EXPECT_EQ(get(0, "WPAPSK1"), "passphrase");
  testbed::wifi_profile("ra0", {"Net", 32, 12, "passphrase-long", 8, 0});
  configAP("ra0", 0, 0);
  EXPECT_EQ(get(0, "AuthMode"), "WPA2PSK;a1");
  EXPECT_EQ(get(0, "EncrypType"), "TKIPAES;a1");
  EXPECT_EQ(get(0, "WPAPSK1"), "passphra") << "KeyLen bytes of the key";
}

TEST_F(CredentialsTest, ApWepKeyNumbersChooseTheKeyAndItsId) {
  for (unsigned index = 0; index <= 4; ++index) {
    fresh_board();
    testbed::wifi_profile("ra0", {"Net", 4, 2, "0123456789", 10, index});
    configAP("ra0", 1, 0);
    EXPECT_EQ(get(0, "EncrypType"), "a0;WEP");
    for (const char *type : {"Key1Type", "Key2Type", "Key3Type", "Key4Type"}) {
      EXPECT_EQ(get(0, type), "a0;0") << type;
    }
    for (unsigned k = 1; k <= 4; ++k) {
      std::string name = "Key" + std::to_string(k) + "Str2";
      EXPECT_EQ(get(0, name), k == index ? "0123456789" : "old") << name << " index " << index;
    }
    EXPECT_EQ(get(0, "DefaultKeyID"), index == 0 ? "a0;a1" : "a0;" + std::to_string(index));
  }
  // Keys of other lengths than 10 or 26 are text keys.
  fresh_board();
  testbed::wifi_profile("ra0", {"Net", 4, 2, "thirteen-char", 13, 1});
  configAP("ra0", 0, 0);
  EXPECT_EQ(get(0, "Key4Type"), "1;a1");
  testbed::wifi_profile("ra0", {"Net", 4, 2, std::string(26, 'a'), 26, 1});
  configAP("ra0", 0, 0);
  EXPECT_EQ(get(0, "Key4Type"), "0;a1");
}

TEST_F(CredentialsTest, AThirtyTwoCharacterSsidIsReadWithinItsField) {
  std::string ssid(32, 's');
  testbed::wifi_profile("rax0", {ssid, 32, 8, "passphrase", 10, 0});
  configAP("rax0", 0, 2);
  EXPECT_EQ(get(2, "SSID1"), ssid);
}

// --- records the driver did not fill, and calls that apply nothing ---

TEST_F(CredentialsTest, UnfilledApProfileAppliesNothingAndDoesNotReboot) {
  testbed::wifi_profile("ra0", {"Net", 32, 8, "passphrase", 10, 0});
  testbed::wifi_fail("ra0", "oid=0x0750");
  configAP("ra0", 0, 0);
  EXPECT_EQ(get(0, "AuthMode"), "a0;a1");
  EXPECT_EQ(get(0, "SSID1"), "old");
  EXPECT_FALSE(rebooted());
  EXPECT_EQ(console_so_far(),
            "__configAP__ ifname = ra0\n\n"
            "__configAP__ ra0: the driver gave no WPS profile, nothing applied\n\n");
}

TEST_F(CredentialsTest, UnfilledUpstreamRecordAppliesNothingAndDoesNotReboot) {
  testbed::wifi_configured_value("apcli0", {"Upstream", 32, 8, 0, "passphrase", 8});
  testbed::wifi_fail("apcli0", "wsc-profile");
  configAP("apcli0", 0, 0);
  EXPECT_EQ(get(0, "ApCliSsid"), "old") << "no leftover request text as network name";
  EXPECT_EQ(get(0, "OperationMode"), "1");
  EXPECT_EQ(get(0, "SSID1"), "old");
  EXPECT_EQ(committed(0, "OperationMode"), "1");
  EXPECT_FALSE(rebooted());
  EXPECT_TRUE(testbed::requests("wifi apcli0 oid").empty()) << "no channel or BSSID query";
  EXPECT_EQ(console_so_far(),
            "__configAP__ ifname = apcli0\n\n"
            "__configAP__ apcli0: the driver gave no credentials, nothing applied\n\n");
}

TEST_F(CredentialsTest, SlotsOutsideZeroToSevenApplyNothing) {
  testbed::wifi_profile("ra0", {"Net", 32, 8, "passphrase", 10, 0});
  configAP("ra0", 8, 0);
  configAP("ra0", -1, 0);
  EXPECT_EQ(get(0, "SSID9"), "");
  EXPECT_EQ(get(0, "SSID0"), "");
  EXPECT_FALSE(rebooted());
}

TEST_F(CredentialsTest, UnknownInterfaceWritesNothingButStillReboots) {
  configAP("eth2", 0, 0);
  EXPECT_EQ(get(0, "AuthMode"), "a0;a1");
  EXPECT_EQ(testbed::commands(), Lines{"reboot"});
  EXPECT_EQ(console_so_far(), "__configAP__ ifname = eth2\n\nconfigAP end\n\n\n");
}

// --- upstream-client path ---

struct UpstreamCase {
  unsigned auth, encr;
  std::string ap_auth, apcli_auth, ap_encr, apcli_encr, default_key;
};

TEST_F(CredentialsTest, UpstreamSecurityReachesBothRadiosAndTheClient) {
  const std::vector<UpstreamCase> cases = {
      {34, 12, "WPAPSKWPA2PSK", "WPA2PSK", "TKIPAES", "AES", "2"},
      {2, 4, "WPAPSKWPA2PSK", "WPAPSK", "TKIPAES", "TKIP", "2"},
      {8, 8, "WPA", "WPAPSK", "AES", "AES", "2"},
      {16, 4, "WPA2", "WPA2PSK", "TKIP", "TKIP", "2"},
      {32, 8, "WPA2PSK", "WPA2PSK", "AES", "AES", "2"},
      {4, 1, "SHARED", "SHARED", "NONE", "NONE", "1"},
      {1, 0, "OPEN", "OPEN", "NONE", "NONE", "1"},
  };
  for (const UpstreamCase &c : cases) {
    fresh_board();
    testbed::wifi_configured_value("apclii0", {"Up", c.auth, c.encr, 1, "pass;phrase", 2});
    configAP("apclii0", 0, 1);
    std::string label = std::to_string(c.auth) + "/" + std::to_string(c.encr);
    for (int set : {0, 1}) {
      EXPECT_EQ(get(set, "AuthMode"), c.ap_auth + ";a1") << label;
      EXPECT_EQ(get(set, "EncrypType"), c.ap_encr + ";a1") << label;
      EXPECT_EQ(get(set, "DefaultKeyID"), c.default_key + ";a1") << label;
      // The passphrase is a whole value, even when it contains ';'.
      EXPECT_EQ(get(set, "WPAPSK1"), c.default_key == "2" ? "pass;phrase" : "old") << label;
    }
    EXPECT_EQ(get(1, "ApCliAuthMode"), c.apcli_auth) << label;
    EXPECT_EQ(get(1, "ApCliEncrypType"), c.apcli_encr) << label;
    EXPECT_EQ(get(1, "ApCliWPAPSK"), c.default_key == "2" ? "pass;phrase" : "old") << label;
    EXPECT_EQ(committed(1, "ApCliAuthMode"), c.apcli_auth) << label;
    EXPECT_EQ(get(0, "ApCliAuthMode"), "old") << label;
  }
}

TEST_F(CredentialsTest, UpstreamWepKeysGoToSlotOneOfBothRadios) {
  for (unsigned index = 0; index <= 4; ++index) {
    fresh_board();
    std::string key(26, 'f');
    testbed::wifi_configured_value("apcli0", {"Up", 4, 2, index, key, 2});
    configAP("apcli0", 0, 0);
    for (int set : {0, 1}) {
      EXPECT_EQ(get(set, "EncrypType"), "WEP;a1") << "other slots keep theirs";
      EXPECT_EQ(get(set, "Key2Type"), "0;a1");
      for (unsigned k = 1; k <= 4; ++k) {
        std::string name = "Key" + std::to_string(k) + "Str1";
        EXPECT_EQ(get(set, name), k == index ? key : "old") << name << " index " << index;
      }
      EXPECT_EQ(get(set, "DefaultKeyID"), index == 0 ? "a0;a1" : std::to_string(index) + ";a1");
    }
    EXPECT_EQ(get(0, "ApCliEncrypType"), "WEP");
    EXPECT_EQ(get(0, "ApCliDefaultKeyID"), "1");
    EXPECT_EQ(get(0, "ApCliKey1"), key);
  }
  testbed::wifi_configured_value("apcli0", {"Up", 4, 2, 1, "thirteenchars", 2});
  configAP("apcli0", 0, 0);
  EXPECT_EQ(get(1, "Key1Type"), "1;a1");
}

TEST_F(CredentialsTest, DerivedNamesStayWithinThirtyTwoCharacters) {
  struct Case {
    unsigned length;
    bool name_24g, name_5g;
  };
  for (const char *ifname : {"apcli0", "apclii0"}) {
    for (Case c : {Case{24, true, true}, Case{25, false, true}, Case{26, false, true},
                   Case{27, false, false}}) {
      fresh_board();
      std::string ssid(c.length, 'n');
      testbed::wifi_configured_value(ifname, {ssid, 32, 8, 0, "passphrase", c.length});
      configAP(ifname, 0, ifname[5] == 'i' ? 1 : 0);
      std::string label = std::string(ifname) + " " + std::to_string(c.length);
      EXPECT_EQ(get(0, "SSID1"), c.name_24g ? ssid + "_EXT2.4G" : "old") << label;
      EXPECT_EQ(get(1, "SSID1"), c.name_5g ? ssid + "_EXT5G" : "old") << label;
      EXPECT_EQ(committed(1, "SSID1"), get(1, "SSID1")) << label;
    }
  }
}

TEST_F(CredentialsTest, UpstreamSuccessTurnsTheRouterIntoARepeater) {
  testbed::wifi_configured_value("apcli0", {"Upstream", 32, 8, 0, "passphrase", 8});
  configAP("apcli0", 0, 0);
  EXPECT_EQ(get(0, "ApCliSsid"), "Upstream");
  EXPECT_EQ(get(0, "ApCliEnable"), "1");
  EXPECT_EQ(get(1, "ApCliEnable"), "0");
  EXPECT_EQ(get(0, "Channel"), "6");
  EXPECT_EQ(get(0, "AutoChannelSelect"), "0");
  EXPECT_EQ(get(0, "ApCliBssid"), "00:11:22:33:44:55");
  EXPECT_EQ(get(1, "Channel"), "old");
  for (const auto &[key, value] : std::vector<std::pair<std::string, std::string>>{
           {"OperationMode", "3"}, {"ENWISP", "1"}, {"dhcpEnabled", "2"}, {"natEnabled", "1"}}) {
    EXPECT_EQ(committed(0, key), value) << key;
  }
  EXPECT_EQ(committed(0, "ApCliSsid"), "Upstream");
  EXPECT_EQ(testbed::commands(), Lines{"reboot"});
  EXPECT_EQ(console_so_far(),
            "__configAP__ ifname = apcli0\n\n"
            "__configAP__ result->WscAuthMode 32\n\n"
            "__configAP__ result->WscEncrypType 8\n\n"
            "__configAP__ result->WscSsid Upstream\n\n"
            "__configAP__ 2.4G result->WscSsidLen 8\n\n"
            "__configAP__ 5G result->WscSsidLen 8\n\n"
            "\n[DBG]channel=6\n\n"
            "mac:00:11:22:33:44:55\n\n"
            "configAP end\n\n\n");
}

TEST_F(CredentialsTest, BssidIsAskedForUntilUsableAtMostSevenTimes) {
  testbed::wifi_bssid("apclii0", "FF:FF:FF:FF:FF:FF 00:00:00:00:00:00 00:11:22:33:44:66");
  EXPECT_EQ(getApcliMac("apclii0"), 0);
  EXPECT_EQ(getApcliMac("apclii0"), 0);
  EXPECT_EQ(getApcliMac("apclii0"), 1);
  EXPECT_EQ(get(1, "ApCliBssid"), "00:11:22:33:44:66");
  EXPECT_EQ(getApcliMac("apcli0"), 1);
  EXPECT_EQ(get(0, "ApCliBssid"), "00:11:22:33:44:55");

  testbed::wifi_configured_value("apclii0", {"Up", 32, 8, 0, "passphrase", 2});
  testbed::wifi_bssid("apclii0", "FF:FF:FF:FF:FF:FF");
  nvram_bufset(1, "ApCliBssid", "stale");
  testbed::clear_logs();
  configAP("apclii0", 0, 1);
  EXPECT_EQ(testbed::requests("wifi apclii0 oid=0x0766").size(), 7u);
  EXPECT_EQ(get(1, "ApCliBssid"), "");
  EXPECT_TRUE(rebooted());
}

TEST_F(CredentialsTest, FailedChannelAndBssidQueriesAreReportedAndCountAsNone) {
  testbed::wifi_fail("apclii0", "all");
  nvram_bufset(1, "ApCliBssid", "stale");
  EXPECT_EQ(setWpsChannel("apclii0"), 0);
  EXPECT_EQ(get(1, "Channel"), "0");
  EXPECT_EQ(getApcliMac("apclii0"), 0);
  EXPECT_EQ(get(1, "ApCliBssid"), "stale");
  EXPECT_EQ(console_so_far(),
            "ioctl error\n\n[DBG]channel=0\n\n"
            "ioctl error\nmac:00:00:00:00:00:00\n\n");
  // Other interfaces are asked but store nothing.
  testbed::wifi_channel("ra0", 36);
  EXPECT_EQ(setWpsChannel("ra0"), 0);
  EXPECT_EQ(get(0, "Channel"), "old");
}

}  // namespace
