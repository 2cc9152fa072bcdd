// What an upstream-client interface knows about the access point it joined:
// the channel and the BSSID, each asked of the driver with one OID query
// and stored for the interface's radio.
#include <stdio.h>
#include <string.h>

#include "boardutil/console.h"
#include "boardutil/wireless_abi.h"
#include "boardutil/wireless_internal.h"
#include "buttond/buttond.h"
#include "buttond/radios.h"
#include "nvram.h"

namespace {

// A failed query leaves the answer as cleared beforehand.
void query(int oid, const char *ifname, unsigned char *answer, int length) {
  boardutil::OidQuery query(oid, ifname, answer, length);
  if (query.failed()) console_print("ioctl error\n");
}

}  // namespace

extern "C" int getApcliMac(const char *ifname) {
  unsigned char bssid[6] = {};
  query(OID_APCLI_BSSID, ifname, bssid, sizeof bssid);
  char text[18];
  snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", bssid[0], bssid[1], bssid[2],
           bssid[3], bssid[4], bssid[5]);
  console_print("mac:%s\n\n", text);
  if (strcmp(text, "FF:FF:FF:FF:FF:FF") == 0 || strcmp(text, "00:00:00:00:00:00") == 0) return 0;
  if (const buttond::Radio *radio = buttond::radio_of_apcli(ifname)) {
    nvram_bufset(radio->set, "ApCliBssid", text);
  }
  return 1;
}

extern "C" int setWpsChannel(const char *ifname) {
  unsigned char channel = 0;
  query(OID_APCLI_CHANNEL, ifname, &channel, 1);
  console_print("\n[DBG]channel=%d\n\n", channel);
  char text[4];
  snprintf(text, sizeof text, "%d", channel);
  if (const buttond::Radio *radio = buttond::radio_of_apcli(ifname)) {
    nvram_bufset(radio->set, "Channel", text);
    nvram_bufset(radio->set, "AutoChannelSelect", "0");
  }
  return 0;
}
