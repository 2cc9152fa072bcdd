// SPDX-License-Identifier: GPL-2.0
/* The control commands of the switches: reset, logging, the button script
 * and hold, the GPIO and register drivers' failures, absence and levels,
 * the WAN link, and "log clear". */
#include <linux/kernel.h>
#include <linux/string.h>

#include "board.h"
#include "control.h"
#include "parse.h"

#define MANY CONTROL_WORDS_MAX

static int with_bool(const char *word, bool *value)
{
	if (!board_parse_bool(word, value))
		return board_control_refuse("\"%s\" is neither on/1/yes nor off/0/no", word);
	return 0;
}

static int with_number(const char *word, u32 *value)
{
	if (!board_parse_u32(word, value))
		return board_control_refuse("\"%s\" is not a number", word);
	return 0;
}

static int set_switch(struct control_line *line, bool *field)
{
	return with_bool(line->words[1], field);
}

static int run_reset(struct control_line *line)
{
	board_state_defaults();
	return 0;
}

static int run_logging(struct control_line *line)
{
	return set_switch(line, &board->logging);
}

static int run_gpio_missing(struct control_line *line)
{
	return set_switch(line, &board->gpio_missing);
}

static int run_rdm_missing(struct control_line *line)
{
	return set_switch(line, &board->rdm_missing);
}

static int run_wan_link(struct control_line *line)
{
	bool up;
	int error = with_bool(line->words[1], &up);

	if (!error)
		board->wan_link = up;
	return error;
}

static int run_button_hold(struct control_line *line)
{
	bool pressed;
	int error = with_bool(line->words[1], &pressed);

	if (!error)
		board->button_after = pressed ? BOARD_BUTTON_PRESSED : BOARD_BUTTON_RELEASED;
	return error;
}

/* One word of a button script, LEVEL or LEVELxCOUNT (COUNT decimal, 1 or more). */
static int button_word(const char *word, u8 *level, u32 *count)
{
	const char *digits = word + 2;

	if (word[0] != '0' && word[0] != '1')
		return board_control_refuse(
			"button script: \"%s\" does not start with level 0 or 1", word);
	*level = word[0] == '0' ? BOARD_BUTTON_PRESSED : BOARD_BUTTON_RELEASED;
	*count = 1;
	if (word[1] == '\0')
		return 0;
	if (word[1] != 'x' || !*digits || strspn(digits, "0123456789") != strlen(digits) ||
	    !board_parse_u32(digits, count) || *count == 0)
		return board_control_refuse("button script: \"%s\" is not LEVEL or LEVELxCOUNT",
					    word);
	return 0;
}

/* Checked whole before anything changes; reading starts again at the first sample. */
static int run_button(struct control_line *line)
{
	u32 total = 0, count, filled = 0;
	u8 level = BOARD_BUTTON_RELEASED;
	int i, error;

	for (i = 1; i < line->count; ++i) {
		error = button_word(line->words[i], &level, &count);
		if (error)
			return error;
		if (count > BOARD_BUTTON_MAX_SAMPLES - total)
			return board_control_refuse("button script: more than %u samples",
						    BOARD_BUTTON_MAX_SAMPLES);
		total += count;
	}
	for (i = 1; i < line->count; ++i) {
		button_word(line->words[i], &level, &count);
		memset(board->button_levels + filled, level, count);
		filled += count;
	}
	board->button_length = total;
	board->button_after = level;
	board->button_cursor = 0;
	return 0;
}

static int run_gpio_bank(struct control_line *line)
{
	u32 bank, word;
	int error = with_number(line->words[1], &bank);

	if (!error)
		error = with_number(line->words[2], &word);
	if (!error && bank >= BOARD_GPIO_BANKS)
		error = board_control_refuse("bank %u is not 0 to 3", bank);
	if (!error)
		board->bank_levels[bank] = word;
	return error;
}

static const struct {
	const char *name;
	u32 bit;
} gpio_names[] = {
	/* clang-format off */
	{ "dir", BOARD_GPIO_DIR },
	{ "read", BOARD_GPIO_READ },
	{ "led", BOARD_GPIO_LED },
	{ "irq", BOARD_GPIO_IRQ },
	{ "register", BOARD_GPIO_REGISTER },
	/* clang-format on */
};

static int run_gpio_fail(struct control_line *line)
{
	u32 bits = 0, named;
	unsigned int n;
	int i;

	for (i = 1; i < line->count; ++i) {
		for (n = 0, named = 0; n < ARRAY_SIZE(gpio_names) && !named; ++n) {
			if (strcmp(line->words[i], gpio_names[n].name) == 0)
				named = gpio_names[n].bit;
		}
		if (!named)
			return board_control_refuse(
				"unknown request \"%s\" (known: dir read led irq register)",
				line->words[i]);
		bits |= named;
	}
	board->gpio_refuse = bits;
	return 0;
}

/* Request numbers compare as numbers: 0x6b0e names 0x6B0E. */
static int run_rdm_fail(struct control_line *line)
{
	u32 bits = 0, number;
	int i;

	for (i = 1; i < line->count; ++i) {
		if (board_parse_u32(line->words[i], &number) && number == RDM_CMD_PREPARE)
			bits |= BOARD_RDM_ACCEPT;
		else if (board_parse_u32(line->words[i], &number) && number == RDM_CMD_READ)
			bits |= BOARD_RDM_READ;
		else
			return board_control_refuse("unknown request \"%s\" (known: 0x6B0E 0x6B03)",
						    line->words[i]);
	}
	board->rdm_refuse = bits;
	return 0;
}

static int run_log(struct control_line *line)
{
	if (strcmp(line->words[1], "clear") != 0)
		return board_control_refuse("log: \"%s\" is not clear", line->words[1]);
	board_log_clear();
	return 0;
}

const struct control_command board_switch_commands[] = {
	{ "reset", 0, 0, run_reset },
	{ "logging", 1, 1, run_logging },
	{ "button", 1, MANY, run_button },
	{ "button-hold", 1, 1, run_button_hold },
	{ "gpio-missing", 1, 1, run_gpio_missing },
	{ "gpio-fail", 0, MANY, run_gpio_fail },
	{ "gpio-bank", 2, 2, run_gpio_bank },
	{ "rdm-missing", 1, 1, run_rdm_missing },
	{ "rdm-fail", 0, MANY, run_rdm_fail },
	{ "wan-link", 1, 1, run_wan_link },
	{ "log", 1, 1, run_log },
};
const size_t board_switch_command_count = ARRAY_SIZE(board_switch_commands);
