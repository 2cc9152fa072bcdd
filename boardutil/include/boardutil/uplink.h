/* Uplink status detection: interface state, default gateway, WAN port link
 * register, upstream-client connection, and the probes built on them. */
#ifndef BOARDUTIL_UPLINK_H
#define BOARDUTIL_UPLINK_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

int if_live(const char *ifname);
/* The default gateway's text (empty for a default route without gateway),
 * or null when there is no usable default route. Static buffer. */
char *GetGateway(void);
/* GetGateway's scan of a routing table in the form of /proc/net/route,
 * read from routes (which the caller opens and closes). */
char *gateway_from_route_table(FILE *routes);
int mt7620_reg_read(void);
int repeater_connect_status(const char *ifname);
int wan_status(void);
int ping_gateway(void);
int get_apclii_status(void);
int get_pair_status(void);
int get_internet_status(void);

extern const char *opmode;
extern const char *apcli_rt2860;
extern const char *apcli_rtdev;
extern const char *apcli_wifi3;

#ifdef __cplusplus
}
#endif

#endif
