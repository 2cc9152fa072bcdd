// SPDX-License-Identifier: GPL-2.0
/* Parsing of control command words, strict like the host fakehwctl tool: a
 * number is decimal or 0x-hex and fits 32 bits, a MAC has exactly six
 * colon-separated pairs. */
#include <linux/kernel.h>
#include <linux/string.h>

#include "parse.h"

static bool is_blank(char c)
{
	return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char *board_next_token(char **text)
{
	char *start = *text, *end;

	while (*start && is_blank(*start))
		++start;
	if (!*start) {
		*text = start;
		return NULL;
	}
	end = start;
	while (*end && !is_blank(*end))
		++end;
	if (*end)
		*end++ = '\0';
	*text = end;
	return start;
}

bool board_parse_u32(const char *text, u32 *value)
{
	unsigned int base = 10;
	u64 result = 0;
	int digit;

	if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && text[2]) {
		base = 16;
		text += 2;
	}
	if (!*text)
		return false;
	for (; *text; ++text) {
		digit = hex_to_bin(*text);
		if (digit < 0 || digit >= base)
			return false;
		result = result * base + digit;
		if (result > U32_MAX)
			return false;
	}
	*value = result;
	return true;
}

bool board_parse_mac(const char *text, u8 mac[6])
{
	unsigned int i;
	int high, low;

	if (strlen(text) != 17)
		return false;
	for (i = 0; i < 6; ++i) {
		high = hex_to_bin(text[3 * i]);
		low = hex_to_bin(text[3 * i + 1]);
		if (high < 0 || low < 0 || (i < 5 && text[3 * i + 2] != ':'))
			return false;
		mac[i] = high << 4 | low;
	}
	return true;
}

bool board_parse_bool(const char *text, bool *value)
{
	static const char *const yes[] = { "1", "on", "yes", "up", "pressed" };
	static const char *const no[] = { "0", "off", "no", "down", "released" };
	unsigned int i;

	for (i = 0; i < ARRAY_SIZE(yes); ++i) {
		if (strcmp(text, yes[i]) == 0) {
			*value = true;
			return true;
		}
		if (strcmp(text, no[i]) == 0) {
			*value = false;
			return true;
		}
	}
	return false;
}

int board_unescape(char *text)
{
	char *out = text;
	const char *in = text;
	int high, low;

	while (*in) {
		if (*in != '\\') {
			*out++ = *in++;
		} else if (in[1] == '\\') {
			*out++ = '\\';
			in += 2;
		} else if (in[1] == 'x' && (high = hex_to_bin(in[2])) >= 0 &&
			   (low = hex_to_bin(in[3])) >= 0) {
			*out++ = high << 4 | low;
			in += 4;
		} else {
			return -1;
		}
	}
	*out = '\0';
	return out - text;
}
