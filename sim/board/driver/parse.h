/* Parsing of control command words: blank-separated tokens, numbers in the
 * forms the host fakehwctl tool accepts, MAC addresses, on/off words and text
 * with \xHH escapes. */
#ifndef ROUTERD_BOARD_PARSE_H
#define ROUTERD_BOARD_PARSE_H

#include <linux/types.h>

/* Cuts the next blank-separated token off *text (NUL-terminating it in
 * place); NULL when none is left. */
char *board_next_token(char **text);
/* A u32 in decimal, or in hex after "0x"; nothing else. */
bool board_parse_u32(const char *text, u32 *value);
/* "AA:BB:CC:DD:EE:FF", either case. */
bool board_parse_mac(const char *text, u8 mac[6]);
/* 1 on yes up pressed / 0 off no down released. */
bool board_parse_bool(const char *text, bool *value);
/* Decodes \xHH and \\ in place; returns the decoded length, or -1 for a
 * broken escape. */
int board_unescape(char *text);

#endif
