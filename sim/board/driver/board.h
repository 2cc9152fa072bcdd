/* The virtual board's drivers: the scripted state they answer from (one
 * mutex guards all of it), the request log, and the parts' entry points. */
#ifndef ROUTERD_BOARD_H
#define ROUTERD_BOARD_H

#include <linux/fs.h>
#include <linux/mutex.h>
#include <linux/types.h>

#include "boardutil/gpio_abi.h"
#include "boardutil/rdm_abi.h"
#include "boardutil/wireless_abi.h"

#define BOARD_GPIO_BANKS 4
#define BOARD_BUTTON_MAX_SAMPLES 65536
#define BOARD_BUTTON_PRESSED 0
#define BOARD_BUTTON_RELEASED 1
#define BOARD_DEFAULT_BANK_LEVELS 0xffffffffu

/* Errors of requests the scripted state says to fail. */
#define BOARD_SCRIPTED_FAILURE EIO

/* Bits of gpio_refuse and rdm_refuse. */
enum board_gpio_request {
	BOARD_GPIO_DIR = 1u << 0,
	BOARD_GPIO_READ = 1u << 1,
	BOARD_GPIO_LED = 1u << 2,
	BOARD_GPIO_IRQ = 1u << 3,
	BOARD_GPIO_REGISTER = 1u << 4,
};
enum board_rdm_request {
	BOARD_RDM_ACCEPT = 1u << 0,
	BOARD_RDM_READ = 1u << 1,
};

/* Bits of board_wifi.fail besides the listed OIDs. */
enum board_wifi_fail {
	BOARD_WIFI_FAIL_ALL = 1u << 0,
	BOARD_WIFI_FAIL_WSC_PROFILE = 1u << 1,
	BOARD_WIFI_FAIL_CONNSTATUS = 1u << 2,
};
#define BOARD_WIFI_FAIL_OIDS 16

/* Answers taken in turn: each query takes the next value, the last one
 * repeats; an empty sequence answers 0. */
#define BOARD_SEQ_MAX 512
struct board_seq {
	u32 count, cursor;
	u64 values[BOARD_SEQ_MAX];
};

struct board_led {
	bool set;
	u32 on, off, blinks, rests, times;
};

#define BOARD_WIFI_COUNT 6
struct board_wifi {
	const char *name;
	struct board_seq status, channel, bssid;
	struct acl_list acl;
	char connstatus[APCLI_CONNSTATUS_BUFFER]; /* NUL-terminated */
	u32 connstatus_len;
	struct wsc_profile profile;
	bool has_profile;
	WSC_CONFIGURED_VALUE configured;
	bool has_configured;
	u32 fail;
	u32 fail_oid_count;
	u32 fail_oids[BOARD_WIFI_FAIL_OIDS];
};

struct board_state {
	struct mutex lock;
	bool logging, gpio_missing, rdm_missing;
	u32 gpio_refuse, rdm_refuse, wan_link;
	u32 bank_levels[BOARD_GPIO_BANKS];
	u8 *button_levels; /* BOARD_BUTTON_MAX_SAMPLES */
	u32 button_length, button_after, button_cursor;
	struct board_led leds[GPIO_MAX_PIN + 1];
	struct board_wifi wifi[BOARD_WIFI_COUNT];
	char last_error[160]; /* why the last control command was refused */
};

extern struct board_state *board;

/* state.c */
int board_state_create(void);
void board_state_destroy(void);
void board_state_defaults(void); /* caller holds board->lock */
struct board_wifi *board_wifi_named(const char *name);
u64 board_seq_take(struct board_seq *seq);
/* A device request decoded under board->lock. */
long board_request(long (*decode)(unsigned int cmd, unsigned long arg), unsigned int cmd,
		   unsigned long arg);
/* The open of a device that a control switch can make absent (ENOENT). */
int board_open_unless(const bool *missing);

/* reqlog.c: lines without their newline; dropped while logging is off. */
int board_log_create(void);
void board_log_destroy(void);
__printf(1, 2) void board_log(const char *fmt, ...);
void board_log_clear(void);

/* Parts: each registers its devices, and removes them again. */
int board_gpio_create(void);
void board_gpio_destroy(void);
int board_rdm_create(void);
void board_rdm_destroy(void);
int board_wifi_create(void);
void board_wifi_destroy(void);
int board_control_create(void);
void board_control_destroy(void);

#endif
