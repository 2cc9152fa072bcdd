// The uplink decision (WAN port link in router mode, upstream client in
// repeater mode) published in /tmp/wanStatus, and the probes built on it.
#include "boardutil/uplink.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "boardutil/console.h"
#include "boardutil/default_gateway.h"
#include "boardutil/interface_state.h"
#include "boardutil/repeater_link.h"
#include "boardutil/shell.h"
#include "boardutil/status_file.h"
#include "boardutil/text.h"
#include "boardutil/wan_register.h"
#include "nvram.h"

extern "C" {
const char *opmode = nullptr;
const char *apcli_rt2860 = nullptr;
const char *apcli_rtdev = nullptr;
const char *apcli_wifi3 = nullptr;
}

namespace {

using boardutil::text_is;

constexpr const char kKillPing[] = "killall ping 1>/dev/null 2>&1";

// Ends every ping this process may have left running; the result is not needed.
void kill_ping() { shell_run(kKillPing); }

// Repeater mode: the 2.4 GHz client when it is enabled; otherwise the 5 GHz
// client when it is enabled and up, or the WAN port when it is not up.
int repeater_uplink(void) {
  apcli_rt2860 = nvram_bufget(RT2860_NVRAM, "ApCliEnable");
  apcli_rtdev = nvram_bufget(RTDEV_NVRAM, "ApCliEnable");
  apcli_wifi3 = nvram_bufget(WIFI3_NVRAM, "ApCliEnable");
  if (text_is(apcli_rt2860, "1")) return repeater_connect_status("apcli0") == 1 ? 1 : 0;
  if (!text_is(apcli_rtdev, "1")) return 0;
  if (if_live("apclii0") != 1) return mt7620_reg_read();
  return repeater_connect_status("apclii0") == 1 ? 1 : 0;
}

// Reads and logs one line of ping's output; false when there was none.
bool read_ping_line(FILE *output, char (&line)[256]) {
  if (fgets(line, sizeof line, output) == nullptr) return false;
  console_debug("%s\n", line);
  return true;
}

}  // namespace

extern "C" int wan_status(void) {
  opmode = nvram_bufget(RT2860_NVRAM, "OperationMode");
  int up = text_is(opmode, "3") ? repeater_uplink() : mt7620_reg_read();
  do_system(up == 1 ? "echo 1 > /tmp/wanStatus &" : "echo 0 > /tmp/wanStatus &");
  return up;
}

extern "C" int ping_gateway(void) {
  if (wan_status() == 0) return 0;
  const char *gateway = GetGateway();
  if (gateway == nullptr) return -1;
  char command[64];
  snprintf(command, sizeof command, "ping %s -w 3", gateway);
  console_debug("ping = %s \n\n", command);
  FILE *output = shell_open(command, "r");
  if (output == nullptr) {
    console_debug("popen error!\n\n");
    kill_ping();
    return -1;
  }
  char line[256];
  // The first line is ping's banner; the second tells whether a reply came.
  if (!read_ping_line(output, line) || !read_ping_line(output, line)) {
    shell_close(output);
    console_debug("fgets error!\n\n");
    kill_ping();
    return -1;
  }
  int answered = strstr(line, "seq=") != nullptr ? 1 : 0;
  if (answered) console_debug("ping router ok\n\n");
  // Killed before the pipe is closed, so closing does not wait out the deadline.
  kill_ping();
  shell_close(output);
  return answered;
}

extern "C" int get_apclii_status(void) {
  if (if_live("apclii0") != 1) return mt7620_reg_read();
  return repeater_connect_status("apclii0") == 1 ? 2 : 0;
}

extern "C" int get_pair_status(void) {
  wan_status();  // refreshes /tmp/wanStatus; the decision itself is not needed
  return status_file_says_yes("/tmp/Pair", "Pair NULL\n\n", "Pair: yes\n\n", "Pair: no\n\n");
}

extern "C" int get_internet_status(void) {
  return status_file_says_yes(INTERNET_STATUS_FILE, "internetStatus NULL\n\n",
                              "internetStatus: yes\n\n", "internetStatus: no\n\n");
}
