/* A firmware program in C, built outside the tree against an install of
 * the router's libraries: the store, the wireless driver's records by
 * their field names, list values, a MAC address and an LED. The fake drivers answer
 * from what run.sh scripted; prints each failed check and exits 1. */
#include <boardutil/gpio.h>
#include <boardutil/list_values.h>
#include <boardutil/mac_address.h>
#include <boardutil/wireless.h>
#include <nvram.h>
#include <nvram_tool.h>
#include <stdio.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

static int failures;

static void check(int ok, const char *what) {
  if (!ok) {
    printf("failed: %s\n", what);
    ++failures;
  }
}

static void check_store(void) {
  check(nvram_set(RT2860_NVRAM, "FirmwareClient", "installed") == 0, "nvram_set");
  check(strcmp(nvram_bufget(RT2860_NVRAM, "FirmwareClient"), "installed") == 0, "nvram_bufget");
  check(nvram_unset(RT2860_NVRAM, "FirmwareClient") == 0, "nvram_unset");
  check(strcmp(nvram_bufget(RT2860_NVRAM, "FirmwareClient"), "") == 0, "value after nvram_unset");
  check(nvram_bufset(RT2860_NVRAM, "bad=key", "x") == -1, "nvram_bufset refuses a bad key");
  check(strcmp(set_nth_value(2, "a;b;c", "C"), "a;b;C") == 0, "set_nth_value");
  check(set_nth_value_flash(RTDEV_NVRAM, 1, racat("ClientList", 0), "WPA2PSK") == 0 &&
            strcmp(nvram_bufget(RTDEV_NVRAM, "ClientList0"), ";WPA2PSK") == 0,
        "set_nth_value_flash");
}

static void check_records(void) {
  wsc_profile profile;
  memset(&profile, 0, sizeof profile);
  getWscProfile("ra0", &profile);
  check(profile.ProfileCnt == 1, "profile.ProfileCnt");
  check(strcmp(profile.Profile[0].Ssid, "Firmware") == 0, "profile.Profile[0].Ssid");
  check(profile.Profile[0].AuthType == 32 && profile.Profile[0].EncrType == 8,
        "profile.Profile[0].AuthType, EncrType");
  check(profile.Profile[0].KeyLen == 8 && memcmp(profile.Profile[0].Key, "12345678", 8) == 0,
        "profile.Profile[0].Key, KeyLen");

  WSC_CONFIGURED_VALUE value;
  WSC_CONFIGURED_VALUE *cv = &value;
  getCurrentWscProfile("apcli0", cv, sizeof value);
  check(cv->WscAuthMode == 32 && cv->WscEncrypType == 12, "cv->WscAuthMode, WscEncrypType");
  check(strcmp(cv->WscSsid, "Upstream") == 0 && cv->WscSsidLen == 8, "cv->WscSsid, WscSsidLen");
  check(strcmp(cv->WscKey, "upstream-key") == 0, "cv->WscKey");

  acl_list acl;
  acl_list *list = &acl;
  memset(list, 0, sizeof acl);
  int sock = socket(AF_INET, SOCK_DGRAM, 0);
  check(ap_oid_query_info(OID_ACL_LIST, sock, "rai3", list, sizeof acl) == 0, "OID_ACL_LIST");
  if (sock >= 0) close(sock);
  check(list->EntryCount == 2, "list->EntryCount");
  check(list->Entries[1].Mac[0] == 0xAA && list->Entries[1].Mac[5] == 0x02, "list->Entries[1].Mac");
}

int main(void) {
  check_store();
  check_records();
  check(strcmp(get_mac_addr_with_colon("ra0"), "02:00:00:00:00:10") == 0,
        "get_mac_addr_with_colon");
  check(led_request(10, 1, 1, 4000, 1, 4000) == 0, "led_request");
  check(set_led(10, LED_MODE_DARK) == 0, "set_led");
  if (failures == 0) printf("firmware client: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
