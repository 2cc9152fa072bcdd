/* The uplink decision (the WAN port's link in router mode, the upstream
 * client's connection in repeater mode), published in /tmp/wanStatus, and
 * the probes built on it. */
#ifndef BOARDUTIL_UPLINK_H
#define BOARDUTIL_UPLINK_H

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when the uplink is up, else 0. Router mode ("OperationMode" of set 0 not
 * "3"): the WAN port's link (mt7620_reg_read). Repeater mode: the 2.4 GHz
 * upstream client when enabled, else the 5 GHz one when enabled and up (the
 * WAN port when it is not up), else 0. Runs "echo 1 > /tmp/wanStatus &" or
 * "echo 0 > /tmp/wanStatus &" through do_system every time. */
int wan_status(void);
/* 1 when the default gateway answers one ping within 3 seconds, 0 when the
 * uplink is down (wan_status) or no reply came, -1 when there is no default
 * gateway or ping gave no output. Ends every ping of the process
 * ("killall ping") before it returns. Library interface; no program of this
 * tree calls it. */
int ping_gateway(void);
/* The 5 GHz upstream client: 2 when apclii0 is up and connected, 0 when it
 * is up and not connected; when it is not up, the WAN port's link (1 or 0).
 * Library interface; no program of this tree calls it. */
int get_apclii_status(void);
/* 1 when /tmp/Pair says '1', else 0; refreshes /tmp/wanStatus first
 * (wan_status). Logs "Pair: yes", "Pair: no" or "Pair NULL". Library
 * interface; no program of this tree calls it. */
int get_pair_status(void);
/* 1 when INTERNET_STATUS_FILE (status_file.h) says '1', else 0 (also when
 * it is missing). Logs "internetStatus: yes", "internetStatus: no" or
 * "internetStatus NULL". uplinkd reads the same file with its own
 * check_internet and its own log texts. Library interface; no program of
 * this tree calls it. */
int get_internet_status(void);

/* The configuration values wan_status read last: "OperationMode" of set 0
 * (every call), "ApCliEnable" of sets 0, 1 and 2 (calls in repeater mode);
 * null until read. Texts of the configuration store, valid for the life of
 * the process. Firmware interface; nothing in this tree reads them. */
extern const char *opmode;
extern const char *apcli_rt2860;
extern const char *apcli_rtdev;
extern const char *apcli_wifi3;

#ifdef __cplusplus
}
#endif

#endif
