// SPDX-License-Identifier: GPL-2.0
/* /dev/boardctl: each write (a writev taken whole) is one command line in
 * the words of the host fakehwctl tool (the commands are in
 * control_switches.c and control_wifi.c), split into words and run under the
 * state lock; a read returns a summary of the state taken when the device
 * was opened. */
#include <linux/fs.h>
#include <linux/miscdevice.h>
#include <linux/module.h>
#include <linux/slab.h>
#include <linux/uaccess.h>
#include <linux/uio.h>
#include <linux/vmalloc.h>

#include "board.h"
#include "control.h"
#include "parse.h"

#define SHOW_MAX (64 * 1024)

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

static const struct control_command *find_command(const char *name)
{
	size_t i;

	for (i = 0; i < board_switch_command_count; ++i) {
		if (strcmp(board_switch_commands[i].name, name) == 0)
			return &board_switch_commands[i];
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

/*
 * One line per write; a trailing newline is dropped, any other refused. A
 * writev is one write: musl's stdio flushes with writev of its buffer and
 * the rest ("ssid" and "\n" of one printf), which a driver with only a
 * write method would get as two writes, two lines. A write of nothing
 * does nothing.
 */
static ssize_t control_write_iter(struct kiocb *iocb, struct iov_iter *from)
{
	struct control_line *line;
	size_t count = iov_iter_count(from);
	size_t length = count;
	int error;

	if (count == 0)
		return 0;
	if (count > CONTROL_LINE_MAX)
		return -EINVAL;
	line = kmalloc(sizeof(*line), GFP_KERNEL);
	if (!line)
		return -ENOMEM;
	if (!copy_from_iter_full(line->raw, count, from)) {
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
	.write_iter = control_write_iter,
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
