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

/* "MeshMode" of set 0 as read at start (mesh pairing handler). */
extern const char *mesh_mode;

/* WPS session state, shared with the SIGALRM poll. */
extern volatile int wps_type;
extern volatile int g_wps_timer_state;
extern volatile int g_wps_elapsed_seconds;

int buttond_main(void);
void check_gpio(void);

int start_wps(int type);
void queryWPSStatus(int signo);
int ledWps(unsigned pin, unsigned type);
void update_internet_led(void);
void send_signal_velmora(int sig);
int start_wps_timer(void);
void stop_wps_timer(void);

void configAP(const char *ifname, int n, int index);
int getApcliMac(const char *ifname);
int setWpsChannel(const char *ifname);

void send_signal(void);

#ifdef __cplusplus
}
#endif

#endif
