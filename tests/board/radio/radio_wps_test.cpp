// WPS with real peers on the virtual board (sim/radio): the router's access
// points are hostapd on simulated radios, configured from the store; the
// phones are wpa_supplicant enrollees in network namespaces of their own.
// A button press reaches hostapd through the wireless CGI script, and
// hostapd's WPS events reach buttond through the board driver's status.
// The tests share one boot and run in this order.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/board/board_fixture.h"

namespace {

using namespace board_test;

const std::string kPassphrase = "radio-test-secret";

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string phone_state(int phone) {
  return trimmed(sh("radio-phone " + std::to_string(phone) + " state"));
}

// hostapd_cli's command line for one of the router's access points.
std::string hostapd_cli(const std::string &radio, const std::string &command) {
  return "/opt/peers/bin/hostapd_cli -p /var/run/hostapd -i " + radio + " " + command;
}

std::string wps_status(const std::string &radio) {
  return sh(hostapd_cli(radio, "wps_get_status"));
}

// The radios as a firmware's wireless start-up leaves them: WPA2-PSK with
// AES on both bands, from each radio's own set.
class Radio : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    sh("nvram set 0 AuthMode WPA2PSK && nvram set 0 EncrypType AES &&"
       " nvram set 0 WPAPSK1 " +
       kPassphrase +
       " && nvram set 0 SSID1 'Radio Test 2.4G' &&"
       " nvram set 1 AuthMode WPA2PSK && nvram set 1 EncrypType AES &&"
       " nvram set 1 WPAPSK1 " +
       kPassphrase + "-5 && /etc/init.d/S35radio restart");
  }
  void TearDown() override {
    sh("radio-phone 1 stop; radio-phone 2 stop; " + hostapd_cli("wlan0", "wps_cancel") + "; " +
       hostapd_cli("wlan1", "wps_cancel") + " >/dev/null");
  }
};

TEST_F(Radio, AccessPointsOfferTheStoresSettingsOnBothBandsWithWps) {
  const std::string band24 = sh(hostapd_cli("wlan0", "get_config"));
  EXPECT_NE(band24.find("ssid=Radio Test 2.4G\n"), std::string::npos) << band24;
  EXPECT_NE(band24.find("wps_state=configured\n"), std::string::npos) << band24;
  EXPECT_NE(band24.find("key_mgmt=WPA-PSK\n"), std::string::npos) << band24;
  EXPECT_NE(band24.find("rsn_pairwise_cipher=CCMP\n"), std::string::npos) << band24;
  const std::string band5 = sh(hostapd_cli("wlan1", "get_config"));
  EXPECT_NE(band5.find("ssid=Router-5G\n"), std::string::npos) << band5;
  EXPECT_NE(band5.find("wps_state=configured\n"), std::string::npos) << band5;
  EXPECT_NE(sh("/opt/peers/bin/iw dev wlan1 info").find("channel 36"), std::string::npos);

  // A setting hostapd cannot offer with WPS leaves that radio without an
  // access point and says why.
  EXPECT_NE(status("nvram set 1 AuthMode SHARED && radio-ap-conf 1 wlan1 36 >/dev/null"), 0);
  sh("nvram set 1 AuthMode WPA2PSK && nvram set 1 WPAPSK1 short");
  EXPECT_NE(status("radio-ap-conf 1 wlan1 36 >/dev/null"), 0) << "a 5 character passphrase";
  sh("nvram set 1 WPAPSK1 " + kPassphrase + "-5");
}

// A WPS Credential attribute (0x100E) of the given sub-attributes, as hex.
std::string credential(const std::string &attributes) {
  char header[32];
  snprintf(header, sizeof(header), "100e%04zx", attributes.size() / 2);
  return header + attributes;
}

TEST_F(Radio, CredentialAttributesBecomeTheDriversFieldsByteForByteAndBrokenOnesAreRefused) {
  // Network index 1, SSID "a b", WPA2-PSK, AES, key k" (a quote), key index 2, MAC.
  const std::string attributes =
      "102600010110450003612062100300020020100f00020008102700026b221028000102"
      "10200006020000000400";
  EXPECT_EQ(trimmed(sh("radio-credential " + credential(attributes))),
            "ssid=\\x61\\x20\\x62 auth=32 encr=8 key=\\x6b\\x22 key-index=2");
  // An open network: no key.
  EXPECT_EQ(trimmed(sh("radio-credential " +
                       credential("104500016e100300020001100f00020001102700001020000602000000"
                                  "0400"))),
            "ssid=\\x6e auth=1 encr=1 key=");
  for (const std::string &broken : {
           credential(attributes).substr(0, 20),         // cut short
           credential(attributes) + "00",                // a byte past its length
           "100f" + credential(attributes).substr(4),    // not a credential
           credential("1045000961"),                     // SSID longer than the attribute
           credential("100300020020100f00020008"),       // no SSID
           credential(attributes).replace(10, 2, "zz"),  // not hex
       }) {
    EXPECT_NE(status("radio-credential " + broken + " >/dev/null"), 0) << broken;
  }
}

TEST_F(Radio, ButtonPressAndPhonePushButtonJoinThePhoneAndEndTheSessionWithSuccess) {
  const size_t console_before = console().size();
  sh("radio-phone 1 start; : > /run/sim/commands.log; boardctl log clear;"
     " boardctl button 1x2 0x30 1");
  ASSERT_TRUE(
      wait_until(hostapd_cli("wlan0", "wps_get_status") + " | grep -q 'PBC Status: Active'", 45s))
      << wps_status("wlan0");
  const auto pressed = std::chrono::steady_clock::now();
  sh("radio-phone 1 pbc");
  EXPECT_TRUE(wait_until("[ \"$(radio-phone 1 state)\" = COMPLETED ]", 30s)) << phone_state(1);
  const auto joined = std::chrono::steady_clock::now();
  printf("phone's push button to COMPLETED: %.1f s\n",
         std::chrono::duration<double>(joined - pressed).count());
  EXPECT_EQ(status("radio-phone 1 ping"), 0) << "the phone does not reach the router";
  EXPECT_NE(wps_status("wlan0").find("Last WPS result: Success"), std::string::npos);
  // The phone stored the network the router handed it.
  const std::string stored = sh("cat /var/run/radio/phone1/wpa.conf");
  EXPECT_NE(stored.find("ssid=\"Radio Test 2.4G\""), std::string::npos) << stored;

  ASSERT_TRUE(wait_until("[ ! -e /tmp/lock ]", 30s)) << "buttond's session did not end";
  const std::string session = console().substr(console_before);
  EXPECT_NE(session.find("wps 2.4G configured!!"), std::string::npos) << session;
  EXPECT_EQ(session.find("wps 5G configured!!"), std::string::npos) << session;
  EXPECT_EQ(session.find("PBC_SESSION_OVERLAP"), std::string::npos) << session;
}

TEST_F(Radio, TwoPhonesPressingWithinTheWalkTimeEndTheSessionAsAnOverlap) {
  const size_t console_before = console().size();
  sh("radio-phone 1 start; radio-phone 2 start; radio-phone 1 pbc; radio-phone 2 pbc");
  // Both phones' push-button probes reach the access point before its button.
  sh("sleep 5; boardctl button 1x2 0x30 1");
  ASSERT_TRUE(wait_until("[ -e /tmp/lock ]", 30s)) << "no session started";
  ASSERT_TRUE(wait_until("[ ! -e /tmp/lock ]", 60s)) << "buttond's session did not end";
  const std::string session = console().substr(console_before);
  EXPECT_NE(session.find("wps PBC_SESSION_OVERLAP!!"), std::string::npos) << session;
  EXPECT_EQ(session.find("configured!!"), std::string::npos) << session;
  EXPECT_NE(wps_status("wlan0").find("PBC Status: Overlap"), std::string::npos)
      << wps_status("wlan0");
  sh("sleep 5");
  EXPECT_NE(phone_state(1), "COMPLETED");
  EXPECT_NE(phone_state(2), "COMPLETED");
}

// Last, as it reboots the board into repeater mode: the router's upstream
// client (wpa_supplicant behind apcli0) joins a real upstream router's
// push-button session, and buttond stores what that registrar sent.
TEST_F(Radio, RepeaterSessionStoresTheUpstreamRoutersCredentialAndReboots) {
  sh("radio-upstream start 'Upstream Net' upstream-secret && radio-upstream pbc >/dev/null &&"
     " nvram set 0 OperationMode 3");
  ASSERT_TRUE(reboot_by("board-probe repeater-session </dev/null >/dev/console 2>&1 &", 300s))
      << "the session did not reboot the board";
  const auto stored = [](const std::string &key) { return trimmed(sh("nvram get 0 " + key)); };
  EXPECT_EQ(stored("OperationMode"), "3");
  EXPECT_EQ(stored("ApCliSsid"), "Upstream Net");
  EXPECT_EQ(stored("ApCliAuthMode"), "WPA2PSK");
  EXPECT_EQ(stored("ApCliEncrypType"), "AES");
  EXPECT_EQ(stored("ApCliWPAPSK"), "upstream-secret");
  EXPECT_EQ(stored("ApCliBssid"), "02:00:00:00:04:00") << "wlan4's address";
  EXPECT_EQ(stored("ApCliEnable"), "1");
}

}  // namespace
