/* Queries of the Ralink/MediaTek wireless driver (private ioctls) into the
 * driver's records (wsc_profile, WSC_CONFIGURED_VALUE, acl_list: see
 * wireless_abi.h). Every query opens and closes a socket of its own, except
 * ap_oid_query_info, which uses the caller's. */
#ifndef BOARDUTIL_WIRELESS_H
#define BOARDUTIL_WIRELESS_H

#include "boardutil/wireless_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The WPS status of the access point or upstream client ifname
 * (WSC_STATUS_* in wireless_abi.h; other values while a session runs); 0
 * with "ioctl error" logged (console_debug) when the query fails. */
int getWscStatus(const char *ifname);
/* Fills *profile with the access point's WPS profile; on failure it is left
 * as the caller prepared it, and "ioctl error" is logged. */
void getWscProfile(const char *ifname, wsc_profile *profile);
/* Asks the upstream client ifname for the credentials it received into
 * buffer, a WSC_CONFIGURED_VALUE of length WSC_CONFIGURED_VALUE_SIZE: the
 * request text "get_wsc_profile" is written at its start first, and the
 * driver writes the record over it, so a buffer that still begins with the
 * text was not filled. Failures are logged with console_debug. */
void getCurrentWscProfile(const char *ifname, void *buffer, int length);
/* One OID query (RTPRIV_IOCTL_OID_QUERY) of ifname on the caller's socket
 * into buffer: the ioctl result, 0 or -1. */
int ap_oid_query_info(int oid, int socket, const char *ifname, void *buffer, int length);

#ifdef __cplusplus
}
#endif

#endif
