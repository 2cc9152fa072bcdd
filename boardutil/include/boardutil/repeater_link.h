/* The upstream client's connection to the access point it joins, asked of
 * the wireless driver (RTPRIV_IOCTL_APCLI_CONNSTATUS). */
#ifndef BOARDUTIL_REPEATER_LINK_H
#define BOARDUTIL_REPEATER_LINK_H

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when the upstream client ifname is connected (the driver's answer
 * begins with the word "1"), 0 when it is not or the answer is empty, -1
 * when no socket could be opened or the request failed (printed on
 * standard output). */
int repeater_connect_status(const char *ifname);

#ifdef __cplusplus
}
#endif

#endif
