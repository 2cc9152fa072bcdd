// User journeys on the virtual board: the daemons as init starts them on
// the MIPS kernel, driven through the board driver's control device and
// watched through its request log, the firmware command log, the console
// and the configuration store on flash. The tests share one boot and run
// in this order; the reset comes last and leaves the factory store.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/board/board_fixture.h"
#include "tests/board/led_requests.h"

namespace {

using namespace board_test;

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string store_get(const std::string &set, const std::string &key) {
  return trimmed(sh("nvram get " + set + " " + key));
}

void store_set(const std::string &set, const std::string &key, const std::string &value) {
  sh("nvram set " + set + " " + key + " '" + value + "' && nvram commit " + set);
}

// Waits until the request log (since the last "log clear") has a line.
bool logged(const std::string &line, std::chrono::seconds timeout) {
  return wait_until("grep -qxF '" + line + "' /dev/boardlog", timeout);
}

std::string file(const std::string &path) {
  return trimmed(sh("cat " + path + " 2>/dev/null; true"));
}

// The daemon's pid file names a live process of that name.
void expect_running(const std::string &name) {
  const std::string pid = file("/var/run/" + name + ".pid");
  ASSERT_FALSE(pid.empty()) << name;
  EXPECT_EQ(file("/proc/" + pid + "/comm"), name);
}

TEST(Board, InitStartsBothDaemonsWhichSampleTheButtonEvery50ms) {
  expect_running("buttond");
  expect_running("uplinkd");
  expect_running("monitor");
  for (const char *name : {"buttond", "uplinkd"}) {
    EXPECT_EQ(status(std::string("tr '\\0' '\\n' < /proc/$(cat /var/run/") + name +
                     ".pid)/environ | grep -q LD_PRELOAD"),
              1)
        << name << " runs with a preloaded library";
  }
  // One read per 50 ms of board time; a slow emulator may stretch the
  // pause a little but never shorten it.
  std::istringstream window(
      sh("boardctl log clear; cut -d' ' -f1 /proc/uptime; sleep 5;"
         "grep -c '^gpio read' /dev/boardlog; cut -d' ' -f1 /proc/uptime"));
  double from = 0, to = 0;
  int reads = 0;
  window >> from >> reads >> to;
  const double expected = (to - from) / 0.05;
  EXPECT_GE(reads, 0.6 * expected) << "in " << to - from << " s";
  EXPECT_LE(reads, expected + 2) << "in " << to - from << " s";
}

TEST(Board, PressOf30SamplesRunsWpsSessionOnBothRadiosUntilSuccessOnOne) {
  const size_t console_before = console().size();
  sh(": > /run/sim/commands.log; : > /run/sim/monitor.hups; boardctl log clear;"
     "boardctl wifi-status rai0 0 0 0 0 0 0; boardctl wifi-status ra0 0 0 34;"
     "boardctl button 1x2 0x30 1");
  ASSERT_TRUE(logged(kWpsInProgress, 45s));
  ASSERT_TRUE(wait_until("grep -q '^wifi ra0 oid=' /dev/boardlog", 30s));
  EXPECT_TRUE(wait_until("[ $(wc -l < /run/sim/monitor.hups) -eq 2 ]", 30s));
  EXPECT_TRUE(wait_until("[ ! -e /tmp/lock ]", 30s));
  EXPECT_TRUE(logged(kWpsEnded, 20s));
  EXPECT_EQ(file("/run/sim/commands.log"), "wireless.cgi wps_pbc 0");
  const std::string log = sh("cat /dev/boardlog");
  EXPECT_GE(count(log, "\nwifi ra0 oid="), 3u) << log;   // "0 0 34": success at the third poll
  EXPECT_GE(count(log, "\nwifi rai0 oid="), 2u) << log;  // both radios asked at every poll
  const std::string session = console().substr(console_before);
  EXPECT_NE(session.find("wps 2.4G configured!!"), std::string::npos) << session;
  EXPECT_EQ(session.find("wps 5G configured!!"), std::string::npos) << session;
  expect_running("buttond");
}

TEST(Board, WanCableAndGatewayDecideUplinkAndInternetLeds) {
  ASSERT_TRUE(wait_until("[ \"$(cat /tmp/wanStatus)\" = 1 ]", 45s));
  EXPECT_EQ(file("/tmp/internetStatus"), "1");
  EXPECT_EQ(trimmed(sh("board-probe ping-gateway")), "1") << "the gateway answers BusyBox ping";

  sh("boardctl log clear; wan-cable out");
  EXPECT_TRUE(wait_until("[ \"$(cat /tmp/wanStatus)\" = 0 ]", 45s));
  EXPECT_TRUE(logged(kInternetBlinking, 60s)) << "internet LED after the cable was pulled";
  EXPECT_EQ(trimmed(sh("board-probe ping-gateway")), "0");

  sh("boardctl log clear; wan-cable in");
  EXPECT_TRUE(wait_until("[ \"$(cat /tmp/wanStatus)\" = 1 ]", 45s));
  EXPECT_TRUE(logged(kInternetLit, 60s)) << "internet LED after the cable was plugged in";

  // A gateway that is there but does not answer is not an answer.
  sh("boardctl log clear; gateway dead");
  EXPECT_EQ(trimmed(sh("board-probe ping-gateway")), "0");
  EXPECT_TRUE(logged(kInternetBlinking, 60s));
  EXPECT_EQ(file("/tmp/wanStatus"), "1");
  sh("gateway alive");
  EXPECT_EQ(trimmed(sh("board-probe ping-gateway")), "1");
}

TEST(Board, UplinkdInitScriptStopsRemovingThePidFileAndRestarts) {
  const std::string old_pid = file("/var/run/uplinkd.pid");
  const std::string stopped = sh("/etc/init.d/S61uplinkd stop");
  EXPECT_EQ(stopped.find("behind"), std::string::npos) << "uplinkd left its pid file: " << stopped;
  EXPECT_EQ(status("[ -e /var/run/uplinkd.pid ]"), 1);
  EXPECT_EQ(status("kill -0 " + old_pid), 1);
  EXPECT_EQ(status("/etc/init.d/S61uplinkd status"), 1);

  sh("/etc/init.d/S61uplinkd start");
  expect_running("uplinkd");
  const std::string started = file("/var/run/uplinkd.pid");
  sh("/etc/init.d/S61uplinkd restart");
  expect_running("uplinkd");
  EXPECT_NE(file("/var/run/uplinkd.pid"), started);
}

// A daemon that dies (a crash, the OOM killer) is started again by its
// supervisor with a fresh pid file, and then works; "stop" still stops it
// for good.
TEST(Board, KilledDaemonsAreStartedAgainAndWorkWhileStopStopsThemForGood) {
  for (const std::string name : {"buttond", "uplinkd"}) {
    const std::string pidfile = "/var/run/" + name + ".pid";
    const std::string old_pid = file(pidfile);
    ASSERT_FALSE(old_pid.empty()) << name;
    sh("kill -KILL " + old_pid);
    EXPECT_TRUE(wait_until("p=$(cat " + pidfile + " 2>/dev/null) && [ -n \"$p\" ] && [ \"$p\" != " +
                               old_pid + " ] && kill -0 $p",
                           30s))
        << name << " was not started again";
    expect_running(name);
  }
  EXPECT_NE(console().find("buttond ended (status 137); starting it again"), std::string::npos);

  // The new buttond samples the button: a press starts a session, which
  // ends at its first poll.
  sh(": > /run/sim/commands.log; boardctl log clear; boardctl wifi-status rai0 0;"
     "boardctl wifi-status ra0 34; boardctl button 1x2 0x30 1");
  EXPECT_TRUE(logged(kWpsInProgress, 45s));
  EXPECT_TRUE(logged(kWpsEnded, 45s));
  EXPECT_TRUE(wait_until("[ ! -e /tmp/lock ]", 30s));
  // (The new uplinkd starts NTP once more, so the log may hold ntp.sh too.)
  EXPECT_EQ(status("grep -qx 'wireless.cgi wps_pbc 0' /run/sim/commands.log"), 0)
      << file("/run/sim/commands.log");
  // The new uplinkd decides the uplink again.
  sh("rm -f /tmp/wanStatus");
  EXPECT_TRUE(wait_until("[ \"$(cat /tmp/wanStatus 2>/dev/null)\" = 1 ]", 45s));

  // Stopped, a daemon stays stopped: no supervisor is left to start it.
  const std::string pid = file("/var/run/buttond.pid");
  sh("/etc/init.d/S60buttond stop");
  sh("sleep 5");
  EXPECT_EQ(status("/etc/init.d/S60buttond status"), 1);
  EXPECT_EQ(status("kill -0 " + pid), 1);
  EXPECT_EQ(status("[ -e /var/run/buttond.supervisor ]"), 1);
  EXPECT_EQ(
      status("for p in /proc/[0-9]*; do [ \"$(cat $p/comm 2>/dev/null)\" = buttond ] && exit 0;"
             "done; exit 1"),
      1)
      << "a buttond is still running";
  sh("/etc/init.d/S60buttond start");
  expect_running("buttond");
}

TEST(Board, RepeaterSessionStoresUpstreamCredentialsAndRebootsIntoRepeaterMode) {
  store_set("0", "OperationMode", "3");
  sh("boardctl wifi-status apcli0 0 0 34; boardctl wifi-status apclii0 0 0 0 0 0 0;"
     "boardctl wifi-configured apcli0 ssid=Upstream key=upstream-secret auth=32 encr=8 state=2;"
     "boardctl wifi-channel apcli0 6; boardctl wifi-bssid apcli0 02:11:22:33:44:55");
  ASSERT_TRUE(reboot_by("board-probe repeater-session </dev/null >/dev/console 2>&1 &", 300s))
      << "the session did not reboot the board";
  EXPECT_EQ(store_get("0", "OperationMode"), "3");
  EXPECT_EQ(store_get("0", "ApCliSsid"), "Upstream");
  EXPECT_EQ(store_get("0", "ApCliWPAPSK"), "upstream-secret");
  EXPECT_EQ(store_get("0", "ApCliEnable"), "1");
  EXPECT_EQ(store_get("0", "Channel"), "6");
  EXPECT_EQ(store_get("0", "ApCliBssid"), "02:11:22:33:44:55");
  EXPECT_EQ(store_get("0", "SSID1"), "Upstream_EXT2.4G");

  // uplinkd now takes the uplink from apcli0's connection.
  sh("boardctl log clear; boardctl wifi-connstatus apcli0 1");
  EXPECT_TRUE(wait_until("grep -q '^wifi apcli0 connstatus' /dev/boardlog", 45s));
  EXPECT_TRUE(wait_until("[ \"$(cat /tmp/wanStatus)\" = 1 ]", 45s));
  EXPECT_TRUE(logged(kInternetLit, 60s));
  sh("boardctl log clear; boardctl wifi-connstatus apcli0 0");
  EXPECT_TRUE(wait_until("[ \"$(cat /tmp/wanStatus)\" = 0 ]", 45s));
  EXPECT_TRUE(logged(kInternetBlinking, 60s));
}

TEST(Board, StoreSurvivesRebootAndHoldOf100SamplesRestoresFactoryStore) {
  store_set("0", "SSID1", "Changed-on-flash");
  ASSERT_TRUE(reboot_by("reboot", 300s));
  EXPECT_EQ(store_get("0", "SSID1"), "Changed-on-flash");

  const size_t console_before = console().size();
  ASSERT_TRUE(reboot_by("boardctl button 1x2 0x100", 300s)) << "the hold did not reboot the board";
  EXPECT_NE(console().find("reset: factory settings restored", console_before), std::string::npos);
  EXPECT_EQ(store_get("0", "SSID1"), "Router-2.4G");
  EXPECT_EQ(store_get("0", "OperationMode"), "1");
  expect_running("buttond");
  expect_running("uplinkd");
}

}  // namespace
