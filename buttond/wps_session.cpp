// Requests of WPS push-button sessions: a router session of the own access
// points, or a repeater session of the upstream-client interfaces (repeater
// mode only); the session state and the 2-second poll timer.
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>

#include <array>

#include "boardutil/console.h"
#include "boardutil/iwpriv.h"
#include "boardutil/pause.h"
#include "boardutil/shell.h"
#include "boardutil/text.h"
#include "boardutil/timer.h"
#include "buttond/buttond.h"
#include "buttond/radios.h"
#include "nvram.h"
#include "runtime/unique_fd.h"

extern "C" {
volatile int wps_type = WPS_TYPE_ROUTER;
volatile int g_wps_timer_state = 0;
volatile int g_wps_elapsed_seconds = 0;
}

namespace {

using boardutil::text_is;

constexpr const char kWirelessCgi[] = "/etc_ro/lighttpd/www/cgi-bin/wireless.cgi wps_pbc";

// Arms the poll of the session just started; a session whose poll cannot
// be armed would never learn its result, so it ends at once.
int start_polling() {
  int armed = start_wps_timer();
  if (armed != 0) end_unpolled_session();
  return armed;
}

// The session marker; the background echo may not have written it yet.
void mark_session() {
  do_system("echo 1 > /tmp/lock &");
  if (!routerd::unique_fd(open("/tmp/lock", O_RDONLY | O_CLOEXEC)).valid()) {
    console_print("NO /tmp/lock , creat again!!!\n\n");
    do_system("touch /tmp/lock");
  }
}

int start_router_session() {
  console_print("doWPSHandler SIGUSR1 WPS_AS_ROUTER!\n\n\n");
  // Both sets are read before either is judged.
  const char *hidden_24g = nvram_bufget(RT2860_NVRAM, "HideSSID");
  const char *hidden_5g = nvram_bufget(RTDEV_NVRAM, "HideSSID");
  if (text_is(hidden_24g, "1") && text_is(hidden_5g, "1")) return 0;
  wps_type = WPS_TYPE_ROUTER;
  ledWps(WPS_LED_LINE, WPS_LED_IN_PROGRESS);
  char command[128];
  snprintf(command, sizeof command, "%s %d", kWirelessCgi, 0);
  shell_run(command);
  send_signal_velmora(SIGHUP);
  return start_polling();
}

// Clears what the upstream client knew and puts it into WPS enrollee mode.
void prepare_upstream_client(const buttond::Radio &radio) {
  const char *ifname = radio.apcli;
  int set = radio.set;
  constexpr std::array kCleared = {
      "ApCliSsid= ", "ApCliBssid= ", "ApCliEncrypType= ", "ApCliWPAPSK= "};
  constexpr std::array kEmptiedKeys = {"ApCliSsid", "ApCliBssid", "ApCliAuthMode",
                                       "ApCliEncrypType", "ApCliWPAPSK"};
  constexpr std::array kEnrollee = {"ApCliEnable=0", "WscConfMode=1", "WscMode=2", "ApCliEnable=1",
                                    "WscGetConf=1"};
  for (const char *setting : kCleared) boardutil::iwpriv_set(shell_run, ifname, setting);
  // One commit for all six keys: a commit per key would let a power cut
  // leave the upstream client half cleared, and wear the flash six times.
  for (const char *key : kEmptiedKeys) nvram_bufset(set, key, "");
  nvram_bufset(set, "ApCliEnable", "0");
  nvram_commit(set);
  for (const char *setting : kEnrollee) boardutil::iwpriv_set(shell_run, ifname, setting);
}

int start_repeater_session(const char *operation_mode) {
  console_print("doWPSHandler SIGUSR2 WPS_AS_REPEATER!\n\n\n");
  if (!text_is(operation_mode, "3")) {
    console_print("doWPSHandler 6s, but not repeater mode!\n\n\n");
    return 0;
  }
  send_signal_velmora(SIGHUP);
  wps_type = WPS_TYPE_REPEATER;
  ledWps(WPS_LED_LINE, WPS_LED_IN_PROGRESS);
  shell_run("killall -q udhcpc&");
  shell_run("ifconfig apcli0 up");
  shell_run("ifconfig apclii0 up");
  // An earlier session's poll may run during these pauses, never elsewhere.
  pause_seconds(1);
  prepare_upstream_client(buttond::kRadio24g);
  pause_seconds(10);
  prepare_upstream_client(buttond::kRadio5g);
  return start_polling();
}

}  // namespace

extern "C" int start_wps(int type) {
  console_print("start wps, type:%d!\n\n\n", type);
  const char *operation_mode = nvram_bufget(RT2860_NVRAM, "OperationMode");
  mark_session();
  switch (type) {
    case WPS_AS_ROUTER:
      return start_router_session();
    case WPS_AS_REPEATER:
      return start_repeater_session(operation_mode);
    default:
      return 2;
  }
}

// The old timer is stopped before the state changes, and armed again last,
// so no poll sees a half-reset session.
extern "C" int start_wps_timer(void) {
  stop_wps_timer();
  g_wps_timer_state = 1;
  g_wps_elapsed_seconds = 0;
  console_print("\nWPS_AP_CATCH_CONFIGURED_TIMER:%d\n\n", WPS_AP_CATCH_CONFIGURED_TIMER);
  return setTimer(WPS_AP_CATCH_CONFIGURED_TIMER, queryWPSStatus);
}

extern "C" void stop_wps_timer(void) {
  stopTimer();
  g_wps_timer_state = 0;
}
