// The process-wide state of uplinkd: the last applied LED and link states,
// the link-down count, the NTP flag, and the settings read at start-up.
#include "boardutil/text.h"
#include "uplinkd/uplinkd.h"

extern "C" {
int led_status = LED_STATE_NONE;
int link_status = LINK_STATE_UNREAD;
unsigned char link_down_count = 0;
unsigned char ntp_started = 0;
int mesh_acl_sent = 0;
const char *ntp_enabled = "";
const char *operation_mode = "";
const char *mesh_mode = "";
}

extern "C" int mesh_follows_uplink(void) {
  return boardutil::text_is(mesh_mode, "2") && boardutil::text_is(operation_mode, "3");
}
