/* Operations and state of the button and WPS daemon, shared between its
 * units (button monitor, WPS session, credentials, mesh pairing). */
#ifndef BUTTOND_H
#define BUTTOND_H

#ifdef __cplusplus
extern "C" {
#endif

#define WPS_AS_ROUTER 1
#define WPS_AS_REPEATER 2
#define WPS_AP_CATCH_CONFIGURED_TIMER 2

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
