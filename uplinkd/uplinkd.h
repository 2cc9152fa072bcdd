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

extern int led_status;
extern int link_status;
extern unsigned char link_down_count;
extern unsigned char ntp_started;
extern int mesh_acl_sent;
extern const char *ntp_enabled;
extern const char *operation_mode;
extern const char *mesh_mode;
extern int mesh_link_status;

int uplinkd_main(void);
/* One cycle of the status loop (the loop runs it for ever). */
void status_cycle(void);
int update_internet_led(int state);
int check_internet(void);
int getWanStatus(void);
void remove_pid_Handler(int signo);

int update_mesh_link(int state);
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
