// WPS with real peers on the virtual board (sim/radio): the router's access
// points are hostapd on simulated radios, configured from the store; the
// phones are wpa_supplicant enrollees in network namespaces of their own.
// A button press reaches hostapd through the wireless CGI script, and
// hostapd's WPS events reach buttond through the board driver's status.
// The tests share one boot and run in this order.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "tests/board/board_fixture.h"
#include "tests/board/led_requests.h"

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

// The upstream client's settings in repeater mode: one wpa_supplicant
// network block of the ApCli* keys, with no store value able to add a line.
TEST_F(Radio, UpstreamClientKeysBecomeOneNetworkBlockAndWhatItCannotJoinIsRefused) {
  sh("nvram set 0 ApCliSsid 'a\"b' && nvram set 0 ApCliAuthMode WPAPSKWPA2PSK &&"
     " nvram set 0 ApCliEncrypType TKIPAES && nvram set 0 ApCliWPAPSK 'pass\"word #1' &&"
     " nvram set 0 ApCliBssid 02:00:00:00:04:00");
  EXPECT_EQ(sh("radio-apcli-conf 0"),
            "network={\nssid=612262\nscan_ssid=1\nbssid=02:00:00:00:04:00\nkey_mgmt=WPA-PSK\n"
            "proto=WPA RSN\npairwise=CCMP TKIP\npsk=\"pass\"word #1\"\n}\n");
  sh("nvram set 0 ApCliAuthMode WPAPSK && nvram set 0 ApCliEncrypType TKIP &&"
     " nvram set 0 ApCliBssid 'not a bssid'");
  const std::string tkip = sh("radio-apcli-conf 0");
  EXPECT_NE(tkip.find("proto=WPA\npairwise=TKIP\ngroup=TKIP\n"), std::string::npos) << tkip;
  EXPECT_EQ(tkip.find("bssid="), std::string::npos) << tkip;
  for (const char *refused : {
           "nvram set 0 ApCliEncrypType WEP",
           "nvram set 0 ApCliAuthMode SHARED",
           "nvram set 0 ApCliAuthMode WPA",
           "nvram set 0 ApCliWPAPSK short",
           "nvram set 0 ApCliWPAPSK \"$(printf 'secret-1\\nnetwork={')\"",
           "nvram set 0 ApCliSsid 123456789012345678901234567890123",
           "nvram set 0 ApCliSsid ''",
       }) {
    EXPECT_NE(status(std::string(refused) + " && radio-apcli-conf 0 >/dev/null"), 0) << refused;
    sh("nvram set 0 ApCliSsid up && nvram set 0 ApCliAuthMode WPA2PSK &&"
       " nvram set 0 ApCliEncrypType AES && nvram set 0 ApCliWPAPSK secret-1");
  }
  sh("for key in ApCliSsid ApCliAuthMode ApCliEncrypType ApCliWPAPSK ApCliBssid; do"
     " nvram set 0 $key ''; done");
}

// The upstream routers a repeater session joins in turn: each a real
// registrar (hostapd) whose credential the router's upstream client
// receives, buttond stores and the next boot joins with.
struct Upstream {
  std::string ssid, key, mode;   // radio-upstream start SSID KEY MODE
  std::string auth, encryption;  // what the store then says: ApCliAuthMode, ApCliEncrypType
  std::string access_points_auth, access_points_encryption;  // AuthMode, EncrypType
  std::string pairwise, group;  // what wpa_supplicant then negotiates (empty: open)
};

// 64 hex digits: the upstream router holds the PSK itself and hands it out.
const std::string kUpstreamPsk = "5f3c0e9a8b7d61f2a4c3b2e1d0f9e8c7b6a5948372615f4e3d2c1b0a99887766";

// "ssid=..." of hostapd_cli get_config for the router's 2.4 GHz access point.
bool access_point_offers(const std::string &ssid) {
  return status(hostapd_cli("wlan0", "get_config") + " | grep -qxF 'ssid=" + ssid + "'") == 0;
}

std::string stored(const std::string &set, const std::string &key) {
  return trimmed(sh("nvram get " + set + " " + key));
}

// What the upstream client of apcli0 (wlan5) says of its association.
std::string client_status() {
  return sh("/opt/peers/bin/wpa_cli -p /var/run/radio/clients -i wlan5 status");
}

void start_upstream(const Upstream &upstream) {
  sh("radio-upstream stop; radio-upstream start '" + upstream.ssid + "' '" + upstream.key + "' " +
     upstream.mode);
}

// Once the upstream router is on the air, apcli0 associates with what the
// store holds, the driver answers "1" for it, uplinkd finds the uplink up
// and lights the internet LED; with the upstream router gone it blinks.
// Prints the time from SINCE (what it was, WHAT) to the connection.
void expect_upstream_connection_drives_the_leds(const Upstream &upstream, const char *what,
                                                std::chrono::steady_clock::time_point since) {
  sh("boardctl log clear");
  start_upstream(upstream);
  ASSERT_TRUE(wait_until("[ \"$(cat /tmp/wanStatus)\" = 1 ]", 90s))
      << client_status() << sh("cat /var/run/radio/client-wlan5.conf; tail -20 /dev/boardlog");
  EXPECT_TRUE(wait_until("grep -qxF '" + kInternetLit + "' /dev/boardlog", 60s));
  printf("%s: %s to upstream connected: %.1f s\n", upstream.ssid.c_str(), what,
         std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count());
  const std::string joined = client_status();
  EXPECT_NE(joined.find("bssid=02:00:00:00:04:00\n"), std::string::npos) << joined;
  EXPECT_NE(joined.find("key_mgmt=" + std::string(upstream.pairwise.empty() ? "NONE" : "WPA2-PSK")),
            std::string::npos)
      << joined;
  if (!upstream.pairwise.empty()) {
    EXPECT_NE(joined.find("pairwise_cipher=" + upstream.pairwise + "\n"), std::string::npos)
        << joined;
    EXPECT_NE(joined.find("group_cipher=" + upstream.group + "\n"), std::string::npos) << joined;
  }
  EXPECT_NE(sh("grep '^wifi apcli0 connstatus' /dev/boardlog; true"), "")
      << "uplinkd did not ask the driver";

  sh("boardctl log clear; radio-upstream stop");
  EXPECT_TRUE(wait_until("[ \"$(cat /tmp/wanStatus)\" = 0 ]", 60s)) << client_status();
  EXPECT_TRUE(wait_until("grep -qxF '" + kInternetBlinking + "' /dev/boardlog", 90s));
}

// A repeater session against UPSTREAM in push-button mode: the credential
// the registrar sent lands in the store, the board reboots into repeater
// mode and apcli0 joins the upstream router with it.
void join_by_repeater_session(const Upstream &upstream, const std::string &stored_key) {
  start_upstream(upstream);
  sh("radio-upstream pbc >/dev/null && nvram set 0 OperationMode 3");
  const auto pressed = std::chrono::steady_clock::now();
  ASSERT_TRUE(reboot_by("board-probe repeater-session </dev/null >/dev/console 2>&1 &", 300s))
      << "the session did not reboot the board";
  const auto rebooted = std::chrono::steady_clock::now();
  EXPECT_EQ(stored("0", "OperationMode"), "3");
  EXPECT_EQ(stored("0", "ApCliSsid"), upstream.ssid);
  EXPECT_EQ(stored("0", "ApCliAuthMode"), upstream.auth);
  EXPECT_EQ(stored("0", "ApCliEncrypType"), upstream.encryption);
  EXPECT_EQ(stored("0", "ApCliWPAPSK"), stored_key);
  EXPECT_EQ(stored("0", "ApCliBssid"), "02:00:00:00:04:00") << "wlan4's address";
  EXPECT_EQ(stored("0", "ApCliEnable"), "1");
  EXPECT_EQ(stored("0", "Channel"), "6");
  // The router's own access points take the upstream network's security.
  for (const char *set : {"0", "1"}) {
    EXPECT_EQ(stored(set, "AuthMode"), upstream.access_points_auth) << "set " << set;
    EXPECT_EQ(stored(set, "EncrypType"), upstream.access_points_encryption) << "set " << set;
  }
  EXPECT_TRUE(access_point_offers(upstream.ssid + "_EXT2.4G"))
      << sh(hostapd_cli("wlan0", "get_config") + "; true");
  expect_upstream_connection_drives_the_leds(upstream, "repeater session's start", pressed);
  printf("%s: of which the session and the reboot: %.1f s\n", upstream.ssid.c_str(),
         std::chrono::duration<double>(rebooted - pressed).count());
}

// Repeater sessions from here on: each reboots the board, so they come
// last, one boot each. The first, from router mode, joins a WPA2-PSK
// router whose registrar hands out its passphrase.
TEST_F(Radio, RepeaterSessionWithAPassphraseStoresItAndTheNextBootJoinsWithIt) {
  join_by_repeater_session({"Upstream Net", "upstream-secret", "wpa2", "WPA2PSK", "AES", "WPA2PSK",
                            "AES", "CCMP", "CCMP"},
                           "upstream-secret");
}

TEST_F(Radio, RepeaterSessionWithTheRawPskStoresItAndTheNextBootJoinsWithIt) {
  join_by_repeater_session(
      {"Upstream PSK", kUpstreamPsk, "wpa2", "WPA2PSK", "AES", "WPA2PSK", "AES", "CCMP", "CCMP"},
      kUpstreamPsk);
}

// WPA and WPA2 with TKIP and CCMP: the group key is TKIP, so the client
// must not insist on a CCMP group key.
// hostapd's registrar hands out the stronger of the two, WPA2-PSK with AES
// (authentication 32, encryption 8), so the store says WPA2PSK and AES.
TEST_F(Radio, RepeaterSessionWithAMixedWpaRouterJoinsWithATkipGroupKey) {
  join_by_repeater_session(
      {"Upstream Mixed", kUpstreamPsk, "mixed", "WPA2PSK", "AES", "WPA2PSK", "AES", "CCMP", "TKIP"},
      kUpstreamPsk);
}

const Upstream kOpenUpstream{"Upstream Open", "", "wpa2", "OPEN", "NONE", "OPEN", "NONE", "", ""};

TEST_F(Radio, RepeaterSessionWithAnOpenRouterJoinsWithoutAKey) {
  join_by_repeater_session(kOpenUpstream, "");
}

// A power cut (qemu killed) at a random moment of a repeater session, from
// a delay the printed seed gives (RADIO_CUT_SEED replays one; RADIO_POWER_CUTS
// cuts that many sessions, one boot each). After the next boot either the
// new upstream router's credential is all there and apcli0 joins it, or
// the store is as before the session or as the session's start left it
// (the upstream client cleared) and the router's access points are up
// with the old settings; then an upstream client still set up joins the
// old upstream router. Nothing in between.
void cut_a_repeater_session(const Upstream &before, const Upstream &next, unsigned seed) {
  std::mt19937 random(seed);
  // The session runs about 20 s from its start to its reboot command, which
  // takes a few seconds more.
  const unsigned delay_ms = std::uniform_int_distribution<unsigned>(0, 26000)(random);
  printf("power cut of a repeater session: seed %u, %u ms after its start\n", seed, delay_ms);
  const std::string old_names[] = {stored("0", "SSID1"), stored("1", "SSID1")};
  start_upstream(next);
  sh("radio-upstream pbc >/dev/null && boardctl log clear");
  sh("board-probe repeater-session </dev/null >/dev/console 2>&1 &");
  std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
  // The session may have rebooted the board already: then the cut lands in
  // that boot.
  ASSERT_TRUE(power_cut_and_back(300s)) << vm().error();
  EXPECT_EQ(stored("0", "OperationMode"), "3");
  const std::string ssid = stored("0", "ApCliSsid");
  if (ssid == next.ssid) {
    printf("after the cut: the new upstream router's credential\n");
    EXPECT_EQ(stored("0", "ApCliAuthMode"), next.auth);
    EXPECT_EQ(stored("0", "ApCliEncrypType"), next.encryption);
    EXPECT_EQ(stored("0", "ApCliEnable"), "1");
    EXPECT_EQ(stored("0", "SSID1"), next.ssid + "_EXT2.4G");
    EXPECT_EQ(stored("1", "SSID1"), next.ssid + "_EXT5G");
    expect_upstream_connection_drives_the_leds(next, "the boot", std::chrono::steady_clock::now());
    return;
  }
  EXPECT_EQ(stored("0", "SSID1"), old_names[0]);
  EXPECT_EQ(stored("1", "SSID1"), old_names[1]);
  EXPECT_TRUE(access_point_offers(old_names[0])) << sh(hostapd_cli("wlan0", "status") + "; true");
  if (ssid.empty()) {
    printf("after the cut: the session's start, the upstream client cleared\n");
    EXPECT_EQ(stored("0", "ApCliEnable"), "0");
    return;
  }
  printf("after the cut: the old upstream router's credential\n");
  EXPECT_EQ(ssid, before.ssid);
  EXPECT_EQ(stored("0", "ApCliEnable"), "1");
  expect_upstream_connection_drives_the_leds(before, "the boot", std::chrono::steady_clock::now());
}

unsigned environment_number(const char *name, unsigned otherwise) {
  const char *text = getenv(name);
  return text != nullptr && *text != '\0' ? static_cast<unsigned>(strtoul(text, nullptr, 10))
                                          : otherwise;
}

TEST_F(Radio, PowerCutDuringARepeaterSessionLeavesTheOldUpstreamOrTheNewOne) {
  const Upstream next{"Upstream After Cut",
                      "after-the-cut",
                      "wpa2",
                      "WPA2PSK",
                      "AES",
                      "WPA2PSK",
                      "AES",
                      "CCMP",
                      "CCMP"};
  const unsigned cuts = environment_number("RADIO_POWER_CUTS", 1);
  unsigned seed = environment_number("RADIO_CUT_SEED", static_cast<unsigned>(time(nullptr)));
  for (unsigned cut = 0; cut < cuts && !HasFailure(); ++cut, ++seed) {
    // Each cut starts from the open upstream router's credential.
    if (stored("0", "ApCliSsid") != kOpenUpstream.ssid) join_by_repeater_session(kOpenUpstream, "");
    cut_a_repeater_session(kOpenUpstream, next, seed);
  }
}

}  // namespace
