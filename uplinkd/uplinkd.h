/* Operations and state of the uplink status daemon, shared between the
 * status loop and the mesh link-change handler. */
#ifndef UPLINKD_H
#define UPLINKD_H

#ifdef __cplusplus
extern "C" {
#endif

/* LED states of update_internet_led (the states it knows; the status loop
 * requests only INTERNET and NO_INTERNET). */
#define LED_STATE_DARK 0        /* line 8 dark */
#define LED_STATE_INTERNET 1    /* line 10 lit, 11 dark, 8 lit */
#define LED_STATE_NO_INTERNET 2 /* lines 10 and 11 dark, 8 blinking slowly */
#define LED_STATE_FAST_BLINK 3  /* line 8 blinking fast */
/* led_status before any LED state was applied (also set to make the next
 * request take effect); link_status before /tmp/Link was first read. */
#define LED_STATE_NONE 4
#define LINK_STATE_UNREAD 3
/* Values of link_status and of getWanStatus's result. */
#define LINK_DOWN 0
#define LINK_UP 1
#define LINK_WAIT 2

/* The loop's state: the LED state last applied (LED_STATE_*), the link
 * state last read (LINK_*), the down cycles in a row, whether NTP was
 * started, and whether the mesh access-control list was handed over since
 * the link came up. */
extern int led_status;
extern int link_status;
extern unsigned char link_down_count;
extern unsigned char ntp_started;
extern int mesh_acl_sent;
/* "ntpEnabled", "OperationMode" and "MeshMode" of set 0, read once at start
 * (texts of the configuration store). */
extern const char *ntp_enabled;
extern const char *operation_mode;
extern const char *mesh_mode;
/* The connection state update_mesh_link last acted on; 3 before any. */
extern int mesh_link_status;

/* Start-up (settings, SIGTERM handler, pid file /var/run/uplinkd.pid, a
 * first /tmp/Link), then the status loop for ever. */
int uplinkd_main(void);
/* One cycle of the status loop (the loop runs it for ever). */
void status_cycle(void);
/* uplinkd's own: applies LED state (LED_STATE_*) with set_led when it
 * differs from led_status, and stores it; logs every request. Always 0.
 * (buttond has a different operation of the same name.) */
int update_internet_led(int state);
/* 1 when INTERNET_STATUS_FILE (status_file.h) says '1', else 0 (also when
 * it is missing). Logs "internet: yes", "internet: no" or "internetStatus
 * NULL"; the library's get_internet_status reads the same file with its
 * own log texts. */
int check_internet(void);
/* The link state from /tmp/Link: LINK_UP, LINK_DOWN or LINK_WAIT; a missing
 * file is recreated from wan_status. A change resets led_status and, in
 * mesh repeater mode, takes the mesh interface up or down. */
int getWanStatus(void);
/* The SIGTERM handler: removes the pid file and exits with status 0. */
void remove_pid_Handler(int signo);

/* The mesh link-change handler: when state (1 connected, else not) differs
 * from mesh_link_status, tells the mesh interface rai3 (SmartLink settings,
 * the access-control list once per link, mesh scripts). Always 0. Firmware
 * interface; no program of this tree calls it. */
int update_mesh_link(int state);
/* 1 when /tmp/etherbh begins with '1' (Ethernet backhaul), else 0. Firmware
 * interface; no program of this tree calls it. */
int check_etherbh(void);

/* 1 when mesh_mode is "2" and operation_mode "3": the mesh interface
 * follows the uplink. */
int mesh_follows_uplink(void);
/* Decides the uplink with wan_status and writes it to /tmp/Link in the
 * background; returns 1 for up, 0 for down. */
int publish_link_file(void);

#ifdef __cplusplus
}
#endif

#endif
