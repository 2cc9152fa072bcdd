// The WPS poll, run every 2 seconds as the SIGALRM handler while a session
// runs: asks both radios for their WPS status and ends the session on
// success, failure, push-button overlap or after 120 seconds.
#include <signal.h>
#include <stdio.h>

#include "boardutil/console.h"
#include "boardutil/iwpriv.h"
#include "boardutil/shell.h"
#include "boardutil/wireless.h"
#include "buttond/buttond.h"
#include "buttond/radios.h"
#include "nvram.h"

namespace {

constexpr int kSessionLimitSeconds = 120;

using buttond::is_24g;
using buttond::Radio;

bool repeater_session() { return wps_type == WPS_TYPE_REPEATER; }

void remove_lock() { do_system("rm -fr /tmp/lock"); }

void closing_sequence() {
  stop_wps_timer();
  ledWps(WPS_LED_LINE, WPS_LED_ENDED);
  update_internet_led();
  send_signal_velmora(SIGHUP);
}

void stop_wps(const char *first, const char *second) {
  boardutil::iwpriv_set(shell_run, first, "WscStop=1");
  boardutil::iwpriv_set(shell_run, second, "WscStop=1");
}

void failure_ending(const Radio &band) {
  remove_lock();
  if (!is_24g(band)) console_print("wps failed!\n\n\n");
  closing_sequence();
  if (is_24g(band)) {
    puts("queryWPSStatus wps FAIL!!");
    fflush(stdout);
  }
}

// In a repeater session the credentials the band's upstream client learned
// go to its set (configAP reboots the router) and the other radio's
// enrollee is stopped.
void success_ending(const Radio &band) {
  remove_lock();
  console_print("queryWPSStatus wps %s configured!!\n\n", band.label);
  stop_wps_timer();
  ledWps(WPS_LED_LINE, WPS_LED_ENDED);
  update_internet_led();
  if (is_24g(band)) console_print(" __%s__wps_type = %d\n\n", "queryWPSStatus", wps_type);
  if (repeater_session()) {
    nvram_bufset(RT2860_NVRAM, "UserInit", "12");
    nvram_commit(RT2860_NVRAM);
    configAP(band.apcli, 0, band.set);
    boardutil::iwpriv_set(shell_run, buttond::other_radio(band).apcli, "WscStop=1");
  }
  send_signal_velmora(SIGHUP);
}

void overlap_ending() {
  remove_lock();
  console_print("wps PBC_SESSION_OVERLAP!!\n\n");
  stop_wps_timer();
  send_signal_velmora(SIGHUP);
  ledWps(WPS_LED_LINE, WPS_LED_ENDED);
  update_internet_led();
}

void handle_status(const Radio &band, int status) {
  console_print(is_24g(band) ? "WscStatus_24g WscStatus_24g = %x !!\n\n"
                             : "WscStatus_5g WscStatus_5g = %x !!\n\n",
                static_cast<unsigned>(status));
  switch (status) {
    case WSC_STATUS_FAILED_1:
    case WSC_STATUS_FAILED_2:
      failure_ending(band);
      break;
    case WSC_STATUS_CONFIGURED:
      success_ending(band);
      break;
    case WSC_STATUS_PBC_OVERLAP:
      overlap_ending();
      break;
    default:  // still running, or the query failed
      break;
  }
}

}  // namespace

// WPS is stopped as a time-out stops it, and the marker is removed: with no
// poll, nothing else would ever end the session.
extern "C" void end_unpolled_session(void) {
  remove_lock();
  console_print("wps poll cannot be armed, session ended!\n\n");
  if (repeater_session()) {
    stop_wps("apcli0", "apclii0");
  } else {
    stop_wps("ra0", "rai0");
  }
  closing_sequence();
}

extern "C" void queryWPSStatus(int) {
  console_print("\nwps_type %d\n\n", wps_type);
  int s24 = 0;
  int s5 = 0;
  if (repeater_session()) {
    s24 = getWscStatus("apcli0");
    console_print("\n\nWscStatus 24g %d\n\n", s24);
    s5 = getWscStatus("apclii0");
    console_print("WscStatus 5g %d\n\n\n", s5);
  } else {
    s24 = getWscStatus("ra0");
    s5 = getWscStatus("rai0");
    console_print("\n\nWscStatus 24g:%d 5g:%d\n\n\n", s24, s5);
  }
  g_wps_elapsed_seconds = g_wps_elapsed_seconds + WPS_AP_CATCH_CONFIGURED_TIMER;
  console_print("------g_wps_timer_state == %d\n\n\n", g_wps_timer_state);

  if (g_wps_timer_state == 0) {  // a poll after the session ended
    stop_wps_timer();
    send_signal_velmora(SIGHUP);
    ledWps(WPS_LED_LINE, WPS_LED_ENDED);
    return;
  }
  if (g_wps_elapsed_seconds > kSessionLimitSeconds) {
    if (repeater_session()) {
      g_wps_elapsed_seconds = 0;
      console_print("\n\nqueryWPSStatus end!!\n\n\n");
      stop_wps("apcli0", "apclii0");
      closing_sequence();
      return;
    }
    // A router session still judges the statuses of its last poll.
    stop_wps("ra0", "rai0");
    closing_sequence();
  }
  handle_status(buttond::kRadio24g, s24);
  handle_status(buttond::kRadio5g, s5);
}
