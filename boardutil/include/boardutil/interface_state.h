/* Whether a network interface is up (SIOCGIFFLAGS). */
#ifndef BOARDUTIL_INTERFACE_STATE_H
#define BOARDUTIL_INTERFACE_STATE_H

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when ifname is up, 0 when it is down or cannot be asked (no socket, a
 * name longer than 15 characters, or ten failed requests). A failing
 * request is retried every second, so a missing interface costs about 9
 * seconds; the pauses go through pause_seconds. Logs each step with
 * console_debug ("if_live: ra0 up", "if_live: ioctl fail,retry", ...). */
int if_live(const char *ifname);

#ifdef __cplusplus
}
#endif

#endif
