// The link and internet states as the status files say them: /tmp/Link
// (recreated from the uplink decision when missing) and /tmp/internetStatus.
#include "boardutil/console.h"
#include "boardutil/shell.h"
#include "boardutil/status_file.h"
#include "boardutil/uplink.h"
#include "uplinkd/uplinkd.h"

namespace {

constexpr const char kLinkFile[] = "/tmp/Link";

// A reading that differs from the previous one: the next LED request takes
// effect, and the mesh interface follows the link in mesh repeater mode.
void link_changed(int link) {
  if (link_status == link) return;
  led_status = LED_STATE_NONE;
  if (!mesh_follows_uplink()) return;
  if (link == LINK_UP) {
    mesh_acl_sent = 0;
    do_system("ifconfig rai3 up &");
  } else {
    do_system("ifconfig rai3 down &");
    do_system("config-udhcpd.sh -p &");
  }
}

}  // namespace

extern "C" int publish_link_file(void) {
  int up = wan_status() == 1 ? 1 : 0;
  do_system(up ? "echo 1 > /tmp/Link &" : "echo 0 > /tmp/Link &");
  return up;
}

extern "C" int getWanStatus(void) {
  wan_status();  // refreshes /tmp/wanStatus
  int first = status_file_first_byte(kLinkFile);
  if (first < 0) {
    console_debug("Link NULL\n\n");
    return publish_link_file() ? LINK_UP : LINK_DOWN;
  }
  if (first == '1') {
    console_debug("Link: yes\n\n");
    link_changed(LINK_UP);
    link_status = LINK_UP;
    return LINK_UP;
  }
  if (first == '0') {
    console_debug("Link: no\n\n");
    link_changed(LINK_DOWN);
    link_status = LINK_DOWN;
    return LINK_DOWN;
  }
  console_debug("Link: wait\n\n");
  link_status = LINK_WAIT;
  led_status = LED_STATE_NONE;
  return LINK_WAIT;
}

// The library's get_internet_status reads the same file; this one is
// uplinkd's own, with its own log texts.
extern "C" int check_internet(void) {
  return status_file_says_yes(INTERNET_STATUS_FILE, "internetStatus NULL\n\n", "internet: yes\n\n",
                              "internet: no\n\n");
}
