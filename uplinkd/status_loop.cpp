// One cycle of uplinkd's status loop: link state from /tmp/Link, internet
// state from /tmp/internetStatus, the internet LED and the one NTP start.
#include "boardutil/console.h"
#include "boardutil/pause.h"
#include "boardutil/shell.h"
#include "boardutil/text.h"
#include "uplinkd/uplinkd.h"

namespace {

constexpr unsigned char kDownCyclesBeforeLed = 3;

void start_ntp_once() {
  if (ntp_started || !boardutil::text_is(ntp_enabled, "1")) return;
  do_system("ntp.sh &");
  ntp_started = 1;
}

void link_up_cycle() {
  link_down_count = 0;
  pause_seconds(1);
  int internet = check_internet();
  if (internet == 0) {
    pause_seconds(1);
    internet = check_internet();
  }
  if (internet == 1) {
    update_internet_led(LED_STATE_INTERNET);
    start_ntp_once();
  } else {
    update_internet_led(LED_STATE_NO_INTERNET);
  }
  pause_seconds(10);
}

// The LED shows a lost link only from the fourth down cycle in a row on.
void link_down_cycle() {
  if (link_down_count < kDownCyclesBeforeLed) {
    ++link_down_count;
    pause_seconds(2);
    return;
  }
  update_internet_led(LED_STATE_NO_INTERNET);
  pause_seconds(10);
}

}  // namespace

// Every pause of the cycle goes through pause_seconds, the only place where
// SIGTERM may be delivered.
extern "C" void status_cycle(void) {
  int link = getWanStatus();
  if (link == LINK_DOWN) {
    pause_seconds(1);
    link = getWanStatus();
  }
  if (link == LINK_UP) {
    link_up_cycle();
  } else if (link == LINK_DOWN) {
    link_down_cycle();
  } else {
    console_debug("wps or touchlink, wait\n");
    pause_seconds(10);
  }
}
