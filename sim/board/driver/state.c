// SPDX-License-Identifier: GPL-2.0
/* The scripted state of the board's drivers: its allocation, the defaults
 * (button released, every pin high, WAN link up, no wireless answers), the
 * answer sequences, and requests and opens taken under its lock. */
#include <linux/slab.h>
#include <linux/string.h>
#include <linux/vmalloc.h>

#include "board.h"

struct board_state *board;

static const char *const wifi_names[BOARD_WIFI_COUNT] = {
	"ra0", "rai0", "rax0", "apcli0", "apclii0", "rai3",
};

void board_state_defaults(void)
{
	unsigned int i;

	board->logging = true;
	board->gpio_missing = false;
	board->rdm_missing = false;
	board->gpio_refuse = 0;
	board->rdm_refuse = 0;
	board->wan_link = 1;
	for (i = 0; i < BOARD_GPIO_BANKS; ++i)
		board->bank_levels[i] = BOARD_DEFAULT_BANK_LEVELS;
	board->button_length = 0;
	board->button_cursor = 0;
	board->button_after = BOARD_BUTTON_RELEASED;
	for (i = 0; i < BOARD_WIFI_COUNT; ++i) {
		memset(&board->wifi[i], 0, sizeof(board->wifi[i]));
		board->wifi[i].name = wifi_names[i];
	}
	board->last_error[0] = '\0';
}

int board_state_create(void)
{
	board = vzalloc(sizeof(*board));
	if (!board)
		return -ENOMEM;
	board->button_levels = vzalloc(BOARD_BUTTON_MAX_SAMPLES);
	if (!board->button_levels) {
		vfree(board);
		board = NULL;
		return -ENOMEM;
	}
	mutex_init(&board->lock);
	board_state_defaults();
	return 0;
}

void board_state_destroy(void)
{
	if (!board)
		return;
	mutex_destroy(&board->lock);
	vfree(board->button_levels);
	vfree(board);
	board = NULL;
}

struct board_wifi *board_wifi_named(const char *name)
{
	unsigned int i;

	for (i = 0; i < BOARD_WIFI_COUNT; ++i) {
		if (strcmp(wifi_names[i], name) == 0)
			return &board->wifi[i];
	}
	return NULL;
}

u64 board_seq_take(struct board_seq *seq)
{
	u64 value;

	if (seq->count == 0)
		return 0;
	value = seq->values[seq->cursor];
	if (seq->cursor + 1 < seq->count)
		++seq->cursor;
	return value;
}

long board_request(long (*decode)(unsigned int cmd, unsigned long arg), unsigned int cmd,
		   unsigned long arg)
{
	long result;

	mutex_lock(&board->lock);
	result = decode(cmd, arg);
	mutex_unlock(&board->lock);
	return result;
}

int board_open_unless(const bool *missing)
{
	bool absent;

	mutex_lock(&board->lock);
	absent = *missing;
	mutex_unlock(&board->lock);
	return absent ? -ENOENT : 0;
}
