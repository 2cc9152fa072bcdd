// SPDX-License-Identifier: GPL-2.0
/* The summary read from /dev/boardctl: the switches in the words of the
 * host's "fakehwctl show", the LED pattern of each pin that got one, each
 * interface's answers still to come, and why the last command was refused. */
#include <linux/kernel.h>
#include <linux/string.h>

#include "board.h"
#include "control.h"
#include "wifi.h"

#define SEQ_SHOWN 32 /* values of a sequence shown before "..." */

struct out {
	char *text;
	size_t size, length;
};

static __printf(2, 3) void add(struct out *out, const char *fmt, ...)
{
	va_list args;

	va_start(args, fmt);
	out->length += vscnprintf(out->text + out->length, out->size - out->length, fmt, args);
	va_end(args);
}

static const char *yes_no(bool value)
{
	return value ? "yes" : "no";
}

static void show_fail_names(struct out *out, u32 bits, const char *const names[], size_t count)
{
	size_t i;
	bool any = false;

	for (i = 0; i < count; ++i) {
		if (bits & (1u << i)) {
			add(out, " %s", names[i]);
			any = true;
		}
	}
	add(out, "%s\n", any ? "" : " none");
}

static void show_switches(struct out *out)
{
	static const char *const gpio_names[] = { "dir", "read", "led", "irq", "register" };
	static const char *const rdm_names[] = { "0x6B0E", "0x6B03" };
	unsigned int i;

	add(out, "logging %s\n", board->logging ? "on" : "off");
	add(out, "gpio missing %s\n", yes_no(board->gpio_missing));
	add(out, "gpio fail");
	show_fail_names(out, board->gpio_refuse, gpio_names, ARRAY_SIZE(gpio_names));
	add(out, "gpio banks");
	for (i = 0; i < BOARD_GPIO_BANKS; ++i)
		add(out, " 0x%08x", board->bank_levels[i]);
	add(out, "\nbutton %u reads of %u samples, then %s\n", board->button_cursor,
	    board->button_length,
	    board->button_after == BOARD_BUTTON_PRESSED ? "pressed" : "released");
	add(out, "rdm missing %s\n", yes_no(board->rdm_missing));
	add(out, "rdm fail");
	show_fail_names(out, board->rdm_refuse, rdm_names, ARRAY_SIZE(rdm_names));
	add(out, "wan-link %u\n", board->wan_link & 1);
	for (i = 0; i <= GPIO_MAX_PIN; ++i) {
		const struct board_led *led = &board->leds[i];

		if (led->set)
			add(out, "led pin=%u on=%u off=%u blinks=%u rests=%u times=%u\n", i,
			    led->on, led->off, led->blinks, led->rests, led->times);
	}
}

static void show_mac(struct out *out, const u8 *mac)
{
	add(out, " %02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
}

/* The values still to come, from the next one on. */
static void show_seq(struct out *out, const struct board_wifi *wifi, const char *name,
		     const struct board_seq *seq, bool macs)
{
	u32 i, shown = 0;
	u8 mac[6];

	if (seq->count == 0)
		return;
	add(out, "wifi %s %s:", wifi->name, name);
	for (i = seq->cursor; i < seq->count && shown < SEQ_SHOWN; ++i, ++shown) {
		if (macs) {
			board_bssid_bytes(seq->values[i], mac);
			show_mac(out, mac);
		} else {
			add(out, " %llu", seq->values[i]);
		}
	}
	add(out, "%s\n", i < seq->count ? " ..." : "");
}

static void show_wifi(struct out *out, const struct board_wifi *wifi)
{
	u32 entries = le32_to_cpu(wifi->acl.EntryCount), i;
	const char *c;

	show_seq(out, wifi, "status", &wifi->status, false);
	show_seq(out, wifi, "channel", &wifi->channel, false);
	show_seq(out, wifi, "bssid", &wifi->bssid, true);
	if (entries) {
		add(out, "wifi %s acl: count %u:", wifi->name, entries);
		for (i = 0; i < min_t(u32, entries, ACL_MAX_ENTRIES); ++i)
			show_mac(out, wifi->acl.Entries[i].Mac);
		add(out, "\n");
	}
	if (wifi->connstatus_len) {
		add(out, "wifi %s connstatus: ", wifi->name);
		for (c = wifi->connstatus; *c && c < wifi->connstatus + 64; ++c)
			add(out, *c >= 0x21 && *c < 0x7f && *c != '\\' ? "%c" : "\\x%02x", (u8)*c);
		add(out, "%s\n", *c ? "..." : "");
	}
	if (wifi->fail || wifi->fail_oid_count) {
		add(out, "wifi %s fail:%s%s%s", wifi->name,
		    wifi->fail & BOARD_WIFI_FAIL_ALL ? " all" : "",
		    wifi->fail & BOARD_WIFI_FAIL_WSC_PROFILE ? " wsc-profile" : "",
		    wifi->fail & BOARD_WIFI_FAIL_CONNSTATUS ? " connstatus" : "");
		for (i = 0; i < wifi->fail_oid_count; ++i)
			add(out, " oid=0x%04X", wifi->fail_oids[i]);
		add(out, "\n");
	}
	if (wifi->has_profile)
		add(out, "wifi %s profile: %zu bytes\n", wifi->name, sizeof(wifi->profile));
	if (wifi->has_configured)
		add(out, "wifi %s configured: %zu bytes\n", wifi->name, sizeof(wifi->configured));
}

size_t board_control_show(char *text, size_t size)
{
	struct out out = { text, size, 0 };
	unsigned int i;

	show_switches(&out);
	for (i = 0; i < BOARD_WIFI_COUNT; ++i)
		show_wifi(&out, &board->wifi[i]);
	if (board->last_error[0])
		add(&out, "error %s\n", board->last_error);
	return out.length;
}
