/* Queries of the Ralink/MediaTek wireless driver (private ioctls) and the
 * MAC addresses of interfaces. Records are raw little-endian byte buffers
 * read at their documented offsets (see wireless_abi.h). */
#ifndef BOARDUTIL_WIRELESS_H
#define BOARDUTIL_WIRELESS_H

#include "wireless_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct wsc_profile {
  unsigned char bytes[WSC_PROFILE_SIZE];
} wsc_profile;

int getWscStatus(const char *ifname);
void getWscProfile(const char *ifname, wsc_profile *profile);
void getCurrentWscProfile(const char *ifname, void *buffer, int length);
int ap_oid_query_info(int oid, int socket, const char *ifname, void *buffer, int length);
const char *get_mac_addr(const char *ifname);
const unsigned char *get_mac_addr_hex(const char *ifname);
const char *get_mac_addr_with_colon(const char *ifname);

#ifdef __cplusplus
}
#endif

#endif
