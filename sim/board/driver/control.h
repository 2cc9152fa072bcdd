/* The control commands of /dev/boardctl. A command line is split into
 * blank-separated words; each command checks its words, changes the state
 * (the caller holds board->lock) and returns 0, or -EINVAL with the reason
 * kept in board->last_error. */
#ifndef ROUTERD_BOARD_CONTROL_H
#define ROUTERD_BOARD_CONTROL_H

#include <linux/types.h>

#define CONTROL_LINE_MAX 1024 /* bytes of one write, newline included */
#define CONTROL_WORDS_MAX (CONTROL_LINE_MAX / 2 + 1)

struct control_line {
	char raw[CONTROL_LINE_MAX + 1];	 /* the line as written */
	char text[CONTROL_LINE_MAX + 1]; /* the same, words NUL-terminated */
	char *words[CONTROL_WORDS_MAX];	 /* words[0] is the command */
	int count;
};

struct control_command {
	const char *name;
	int min_words, max_words; /* after the command */
	int (*run)(struct control_line *line);
};

__printf(1, 2) int board_control_refuse(const char *fmt, ...);
/* The raw text after word index and the one blank that ends it. */
const char *board_control_rest(const struct control_line *line, int index);

/* control_switches.c */
extern const struct control_command board_switch_commands[];
extern const size_t board_switch_command_count;

/* control_wifi.c */
extern const struct control_command board_wifi_commands[];
extern const size_t board_wifi_command_count;

/* control_show.c: the summary that reading /dev/boardctl returns. */
size_t board_control_show(char *text, size_t size);

#endif
