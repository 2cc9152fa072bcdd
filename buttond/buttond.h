/* Operations and state of the button and WPS daemon, shared between its
 * units (button monitor, WPS session, credentials, mesh pairing). */
#ifndef BUTTOND_H
#define BUTTOND_H

#ifdef __cplusplus
extern "C" {
#endif

/* Request types of start_wps: the session asked for. */
#define WPS_AS_ROUTER 1   /* the own access points ra0 and rai0 */
#define WPS_AS_REPEATER 2 /* the upstream clients apcli0 and apclii0 (repeater mode only) */
/* Values of wps_type: the kind of the current or last session, as the poll
 * and the LED patterns see it (a different code from the request types). */
#define WPS_TYPE_ROUTER 0
#define WPS_TYPE_REPEATER 1
/* Seconds between two polls of a session. */
#define WPS_AP_CATCH_CONFIGURED_TIMER 2

/* The WPS LED line (GPIO pin) every caller passes to ledWps. */
#define WPS_LED_LINE 10
/* Pattern types of ledWps. Only IN_PROGRESS and ENDED are used by the
 * session logic; the others belong to the firmware's interface. */
#define WPS_LED_DARK 1        /* the WPS line dark */
#define WPS_LED_IN_PROGRESS 2 /* line 8 lit, WPS line blinking, line 11 dark */
#define WPS_LED_FAST_BLINK 3  /* the WPS line blinking 1 on, 1 off */
#define WPS_LED_BURSTS 4      /* the WPS line in bursts of 10 blinks */
#define WPS_LED_FLASH 5       /* the WPS line lit once for 3000 */
#define WPS_LED_ENDED 6       /* line 8 lit, WPS line and line 11 dark */

/* "MeshMode" of set 0 as read at start (mesh pairing handler); a text of
 * the configuration store. */
extern const char *mesh_mode;

/* WPS session state, shared with the SIGALRM poll: the kind of session
 * (WPS_TYPE_*), 1 while a session is polled (0 once it ended), and the
 * seconds the poll has counted. */
extern volatile int wps_type;
extern volatile int g_wps_timer_state;
extern volatile int g_wps_elapsed_seconds;

/* Start-up (MeshMode, the SIGALRM discipline, the pid file
 * /var/run/buttond.pid), then the button monitor; returns only when the
 * monitor does. */
int buttond_main(void);
/* Samples the button (GPIO 1) every 50 ms and publishes the press total in
 * /tmp/wps_times and /tmp/reset_times; a release after 20 to 99 samples
 * starts a router session, 100 samples held run "reset &" and return.
 * Returns at once, with perror("/dev/gpio"), when the driver cannot be
 * opened. */
void check_gpio(void);

/* Starts a session of request type WPS_AS_ROUTER or WPS_AS_REPEATER: marks
 * /tmp/lock, shows WPS_LED_IN_PROGRESS, signals the monitor and arms the
 * poll. The result of start_wps_timer (a session whose poll cannot be armed
 * is ended at once, end_unpolled_session); 0 when the session was refused
 * (both networks hidden, or a repeater session outside repeater mode); 2
 * for an unknown type. */
int start_wps(int type);
/* The poll, run as the SIGALRM handler every WPS_AP_CATCH_CONFIGURED_TIMER
 * seconds: asks both radios for their WSC status and ends the session on
 * success, failure, overlap or after 120 seconds. */
void queryWPSStatus(int signo);
/* Sends the LED pattern type (WPS_LED_*) with pin as the WPS line; nothing
 * for other types. 0, or for types 1, 3 and 4 the result of their single
 * led_request. */
int ledWps(unsigned pin, unsigned type);
/* buttond's own: line 10 lit when INTERNET_STATUS_FILE says '1', line 8
 * blinking when it says '0', nothing otherwise. (uplinkd has a different
 * operation of the same name.) */
void update_internet_led(void);
/* Sends sig to the monitor daemon named by its pid file; what happened is
 * printed on standard output ("notify app about WPS..", "nvram: monitor is
 * not running", ...) and flushed. */
void send_signal_velmora(int sig);
/* (Re)arms the poll: stops the old timer, resets the session state, logs
 * WPS_AP_CATCH_CONFIGURED_TIMER and arms setTimer; its result. */
int start_wps_timer(void);
/* Stops the poll and marks the session ended. */
void stop_wps_timer(void);
/* Ends a session whose poll could not be armed: removes /tmp/lock, stops
 * WPS on the session's interfaces and runs the closing sequence (LEDs,
 * monitor), as nothing would ever poll its result. */
void end_unpolled_session(void);

/* Applies the credentials a session delivered for ifname: an access
 * point's (ra0, rai0, rax0) WPS profile into slot n of set index, or an
 * upstream client's (apcli0, apclii0) credentials with the switch to
 * repeater mode. When something was applied, commits all three sets and
 * runs "reboot"; otherwise it logs why and changes nothing. */
void configAP(const char *ifname, int n, int index);
/* Stores the BSSID the upstream client ifname joined in "ApCliBssid" of its
 * set: 1, or 0 when the driver gave none (all 00 or all FF). Printed on the
 * console either way. */
int getApcliMac(const char *ifname);
/* Stores the channel of the upstream client ifname in "Channel" of its set
 * and turns "AutoChannelSelect" off. Always 0. */
int setWpsChannel(const char *ifname);

/* The mesh pairing handler, called by the firmware when a pairing ends:
 * refreshes and hands over the mesh access-control list or marks /tmp/Pair
 * over (by MeshMode and Model), turns LED 9 dark and signals the monitor.
 * Firmware interface; no program of this tree calls it. */
void send_signal(void);

#ifdef __cplusplus
}
#endif

#endif
