/* Restarting the access-point radios ra0 and rai0. */
#ifndef BOARDUTIL_WIFI_RESET_H
#define BOARDUTIL_WIFI_RESET_H

#ifdef __cplusplus
extern "C" {
#endif

/* Takes each radio whose "WiFiOff" (set 0 for ra0, set 1 for rai0) is "0"
 * down and up again through do_system, with a 1-second pause between; logs
 * "reset wifi!". Library interface; no program of this tree calls it. */
void reset_wifi(void);

#ifdef __cplusplus
}
#endif

#endif
