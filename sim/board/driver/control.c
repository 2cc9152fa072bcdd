// SPDX-License-Identifier: GPL-2.0
/* /dev/boardctl: each write is one command line in the words of the host
 * fakehw tool (switches, button script, failures; the wireless commands are
 * in control_wifi.c), "log clear" empties the request log; a read returns
 * a summary of the state taken when the device was opened. */
#include <linux/fs.h>
#include <linux/miscdevice.h>
#include <linux/module.h>
#include <linux/slab.h>
#include <linux/uaccess.h>
#include <linux/vmalloc.h>

#include "board.h"
#include "control.h"
#include "parse.h"

#define SHOW_MAX (64 * 1024)
#define MANY CONTROL_WORDS_MAX

int board_control_refuse(const char *fmt, ...)
{
	va_list args;

	va_start(args, fmt);
	vscnprintf(board->last_error, sizeof(board->last_error), fmt, args);
	va_end(args);
	return -EINVAL;
}

const char *board_control_rest(const struct control_line *line, int index)
{
	const char *word = line->words[index];
	size_t end = word - line->text + strlen(word);

	return end < strlen(line->raw) ? line->raw + end + 1 : "";
}

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
		return board_control_refuse("button script: \"%s\" does not start with level 0 or 1", word);
	*level = word[0] == '0' ? BOARD_BUTTON_PRESSED : BOARD_BUTTON_RELEASED;
	*count = 1;
	if (word[1] == '\0')
		return 0;
	if (word[1] != 'x' || !*digits || strspn(digits, "0123456789") != strlen(digits) ||
	    !board_parse_u32(digits, count) || *count == 0)
		return board_control_refuse("button script: \"%s\" is not LEVEL or LEVELxCOUNT", word);
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
	{ "dir", BOARD_GPIO_DIR }, { "read", BOARD_GPIO_READ }, { "led", BOARD_GPIO_LED },
	{ "irq", BOARD_GPIO_IRQ }, { "register", BOARD_GPIO_REGISTER },
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
			return board_control_refuse("unknown request \"%s\" (known: dir read led irq register)",
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

static const struct control_command commands[] = {
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

static const struct control_command *find_command(const char *name)
{
	size_t i;

	for (i = 0; i < ARRAY_SIZE(commands); ++i) {
		if (strcmp(commands[i].name, name) == 0)
			return &commands[i];
	}
	for (i = 0; i < board_wifi_command_count; ++i) {
		if (strcmp(board_wifi_commands[i].name, name) == 0)
			return &board_wifi_commands[i];
	}
	return NULL;
}

static int run_line(struct control_line *line)
{
	const struct control_command *command;
	char *rest = line->text;
	char *word;

	line->count = 0;
	while ((word = board_next_token(&rest)) && line->count < CONTROL_WORDS_MAX)
		line->words[line->count++] = word;
	if (line->count == 0)
		return board_control_refuse("empty command");
	command = find_command(line->words[0]);
	if (!command)
		return board_control_refuse("unknown command \"%s\"", line->words[0]);
	if (line->count - 1 < command->min_words || line->count - 1 > command->max_words)
		return board_control_refuse("%s: wrong number of arguments", command->name);
	return command->run(line);
}

/* One line per write; a trailing newline is dropped, any other refused. */
static ssize_t control_write(struct file *file, const char __user *buffer, size_t count,
			     loff_t *ppos)
{
	struct control_line *line;
	size_t length = count;
	int error;

	if (count == 0 || count > CONTROL_LINE_MAX)
		return -EINVAL;
	line = kmalloc(sizeof(*line), GFP_KERNEL);
	if (!line)
		return -ENOMEM;
	if (copy_from_user(line->raw, buffer, count)) {
		kfree(line);
		return -EFAULT;
	}
	if (line->raw[length - 1] == '\n')
		--length;
	line->raw[length] = '\0';
	mutex_lock(&board->lock);
	if (strlen(line->raw) != length) {
		error = board_control_refuse("NUL byte in the command");
	} else if (strchr(line->raw, '\n')) {
		error = board_control_refuse("more than one line in one write");
	} else {
		memcpy(line->text, line->raw, length + 1);
		error = run_line(line);
		if (!error)
			board->last_error[0] = '\0';
	}
	mutex_unlock(&board->lock);
	kfree(line);
	return error ? error : count;
}

struct summary {
	size_t length;
	char text[];
};

static int control_open(struct inode *inode, struct file *file)
{
	struct summary *summary;

	file->private_data = NULL; /* the misc layer left its device there */
	if (!(file->f_mode & FMODE_READ))
		return 0;
	summary = vmalloc(sizeof(*summary) + SHOW_MAX);
	if (!summary)
		return -ENOMEM;
	mutex_lock(&board->lock);
	summary->length = board_control_show(summary->text, SHOW_MAX);
	mutex_unlock(&board->lock);
	file->private_data = summary;
	return 0;
}

static ssize_t control_read(struct file *file, char __user *buffer, size_t count, loff_t *ppos)
{
	struct summary *summary = file->private_data;

	return simple_read_from_buffer(buffer, count, ppos, summary->text, summary->length);
}

static int control_release(struct inode *inode, struct file *file)
{
	vfree(file->private_data);
	return 0;
}

static const struct file_operations control_fops = {
	.owner = THIS_MODULE,
	.open = control_open,
	.read = control_read,
	.write = control_write,
	.release = control_release,
	.llseek = default_llseek,
};

static struct miscdevice control_device = {
	.minor = MISC_DYNAMIC_MINOR,
	.name = "boardctl",
	.fops = &control_fops,
	.mode = 0600,
};

int board_control_create(void)
{
	return misc_register(&control_device);
}

void board_control_destroy(void)
{
	misc_deregister(&control_device);
}
