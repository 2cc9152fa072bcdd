/* Operations and state of the uplink status daemon, shared between the
 * status loop and the mesh link-change handler. */
#ifndef UPLINKD_H
#define UPLINKD_H

#ifdef __cplusplus
extern "C" {
#endif

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

#ifdef __cplusplus
}
#endif

#endif
