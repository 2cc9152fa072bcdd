// A WPS session nobody joins, on the radio board (sim/radio), to its end:
// a 30-sample press starts buttond's session and hostapd's push-button
// mode on both access points; hostapd ends its own 120 s walk time
// (WPS-TIMEOUT, "PBC Status: Timed-out"), which changes nothing of the
// driver's status, and buttond ends the session at its 61st poll (122 s):
// WPS stopped on ra0 and rai0, the WPS LED's ended pattern, SIGHUP, and
// /tmp/lock left in place as a time-out leaves it. The console is read as
// it arrives on the host, so each poll and hostapd event gets the host's
// time; the run prints when each side ended.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/board/board_fixture.h"

namespace {

using namespace board_test;
using Clock = std::chrono::steady_clock;

// Every poll prints this line once, whatever it finds.
const std::string kPollLine = "------g_wps_timer_state == ";
const std::string kWpsEnded = "gpio led pin=10 on=1 off=4000 blinks=1 rests=1 times=4000";
constexpr unsigned kTimeoutPoll = 61;  // the first poll past 120 s

// hostapd's WPS events of one access point, as console lines "@@hostapd
// RADIO EVENT", from an event watcher of the test's own beside the bridge.
void watch_hostapd(const std::string &radio) {
  sh("/opt/peers/bin/hostapd_cli -p /var/run/hostapd -i " + radio +
     " -a /tmp/wps-watch -B -P /tmp/wps-watch-" + radio + ".pid >/dev/null");
}

struct Seen {
  double seconds = -1;  // since the press
  unsigned polls = 0;   // buttond's polls before it
};

TEST(RadioTimeout, HostapdsWalkTimeEndsFirstAndButtondEndsTheSessionAtItsSixtyFirstPoll) {
  ASSERT_TRUE(wait_until("[ -S /var/run/hostapd/wlan0 ] && [ -S /var/run/hostapd/wlan1 ]", 60s))
      << "the access points did not start";
  sh("printf '#!/bin/sh\\necho \"@@hostapd $1 $2\" > /dev/console\\n' > /tmp/wps-watch &&"
     " chmod +x /tmp/wps-watch");
  watch_hostapd("wlan0");
  watch_hostapd("wlan1");
  sh(": > /run/sim/commands.log; : > /run/sim/monitor.hups; boardctl log clear");

  size_t read_to = console().size();
  const Clock::time_point pressed = Clock::now();
  sh("boardctl button 1x2 0x30 1");
  Seen active, walk_over, last_poll;
  unsigned polls = 0;
  std::string session, hostapd_status, at_walk_over;
  // Follows the console until 8 s after the 61st poll (no 62nd may come).
  while (Clock::now() - pressed < 200s) {
    std::this_thread::sleep_for(200ms);
    const std::string text = console();
    const size_t end = text.rfind('\n');
    if (end == std::string::npos || end + 1 <= read_to) continue;
    const std::string fresh = text.substr(read_to, end + 1 - read_to);
    read_to = end + 1;
    session += fresh;
    const double now = std::chrono::duration<double>(Clock::now() - pressed).count();
    for (size_t at = fresh.find(kPollLine); at != std::string::npos;
         at = fresh.find(kPollLine, at + 1)) {
      last_poll = {now, ++polls};
    }
    if (active.seconds < 0 && fresh.find("@@hostapd wlan0 WPS-PBC-ACTIVE") != std::string::npos) {
      active = {now, polls};
    }
    if (walk_over.seconds < 0 && fresh.find("@@hostapd wlan0 WPS-TIMEOUT") != std::string::npos) {
      walk_over = {now, polls};
      // At once, before buttond's next poll: hostapd's side, and buttond's.
      hostapd_status = sh("/opt/peers/bin/hostapd_cli -p /var/run/hostapd -i wlan0 wps_get_status");
      at_walk_over = sh("[ -e /tmp/lock ] && echo lock; cat /run/sim/commands.log");
    }
    if (polls >= kTimeoutPoll && now - last_poll.seconds > 8) break;
  }
  sh("kill $(cat /tmp/wps-watch-wlan0.pid) $(cat /tmp/wps-watch-wlan1.pid)");

  std::printf("hostapd push-button active (wlan0): %.1f s after the press\n", active.seconds);
  std::printf("hostapd WPS-TIMEOUT (wlan0): %.1f s, after buttond's poll %u\n", walk_over.seconds,
              walk_over.polls);
  std::printf("buttond's last poll: %u at %.1f s\n", last_poll.polls, last_poll.seconds);

  ASSERT_GE(active.seconds, 0) << "hostapd's push-button mode did not start\n" << session;
  ASSERT_GE(walk_over.seconds, 0) << "no WPS-TIMEOUT from hostapd\n" << session;
  EXPECT_NE(session.find("@@hostapd wlan1 WPS-TIMEOUT"), std::string::npos) << "5 GHz";
  EXPECT_NE(hostapd_status.find("PBC Status: Timed-out"), std::string::npos) << hostapd_status;
  // hostapd's walk time ends first and leaves buttond's session running.
  EXPECT_LT(walk_over.polls, kTimeoutPoll);
  EXPECT_EQ(at_walk_over.find("lock\n"), 0u) << at_walk_over;
  EXPECT_EQ(at_walk_over.find("WscStop"), std::string::npos) << at_walk_over;

  // buttond ends at its 61st poll and polls no more.
  EXPECT_EQ(polls, kTimeoutPoll) << session;
  const std::string commands = sh("cat /run/sim/commands.log");
  const size_t stop24 = commands.find("iwpriv ra0 set WscStop=1\n");
  const size_t stop5 = commands.find("iwpriv rai0 set WscStop=1\n");
  ASSERT_NE(stop24, std::string::npos) << commands;
  ASSERT_NE(stop5, std::string::npos) << commands;
  EXPECT_LT(stop24, stop5);
  EXPECT_EQ(count(commands, "WscStop=1"), 2u) << commands;
  // The last poll still judges both statuses, and finds nothing to end.
  const std::string last = session.substr(session.rfind(kPollLine));
  EXPECT_NE(last.find("WscStatus_24g WscStatus_24g = 0 !!"), std::string::npos) << last;
  EXPECT_NE(last.find("WscStatus_5g WscStatus_5g = 0 !!"), std::string::npos) << last;
  for (const char *ending : {"configured!!", "wps FAIL", "wps failed", "PBC_SESSION_OVERLAP"}) {
    EXPECT_EQ(session.find(ending), std::string::npos) << ending;
  }
  const std::string requests = sh("cat /dev/boardlog");
  EXPECT_EQ(count(requests, kWpsEnded), 1u) << "the WPS LED's ended pattern, once";
  EXPECT_EQ(sh("wc -l < /run/sim/monitor.hups"), "2\n") << "a SIGHUP at the start and the end";
  EXPECT_EQ(status("[ -e /tmp/lock ]"), 0) << "a time-out leaves /tmp/lock";
}

}  // namespace
