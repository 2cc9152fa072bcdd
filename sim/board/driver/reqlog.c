// SPDX-License-Identifier: GPL-2.0
/* The request log and /dev/boardlog: whole lines in a bounded byte ring,
 * the oldest lines dropped first. Positions are absolute byte counts since
 * load, so a reader's file offset stays valid while lines come and go: an
 * open starts at the oldest line kept, a read past the end returns 0, a
 * later read on the same descriptor returns only lines logged since, and
 * poll waits until there are some. */
#include <linux/fs.h>
#include <linux/math64.h>
#include <linux/miscdevice.h>
#include <linux/module.h>
#include <linux/poll.h>
#include <linux/slab.h>
#include <linux/uaccess.h>
#include <linux/vmalloc.h>

#include "board.h"

#define LOG_LINE_MAX 256

static unsigned int log_kib = 256;
module_param(log_kib, uint, 0444);
MODULE_PARM_DESC(log_kib, "size of the request log ring in KiB (16 to 4096)");

static DEFINE_MUTEX(log_lock);
static DECLARE_WAIT_QUEUE_HEAD(log_readers);
static char *ring;
static size_t ring_size;
static u64 ring_start, ring_end; /* absolute positions of the kept bytes */

static size_t ring_offset(u64 position)
{
	u32 offset;

	div_u64_rem(position, ring_size, &offset);
	return offset;
}

static char ring_byte(u64 position)
{
	return ring[ring_offset(position)];
}

/* Drops the oldest whole line. */
static void drop_oldest_line(void)
{
	while (ring_start < ring_end && ring_byte(ring_start) != '\n')
		++ring_start;
	if (ring_start < ring_end)
		++ring_start;
}

static void append(const char *text, size_t length)
{
	size_t offset, first;

	while (ring_end + length - ring_start > ring_size)
		drop_oldest_line();
	offset = ring_offset(ring_end);
	first = min(length, ring_size - offset);
	memcpy(ring + offset, text, first);
	memcpy(ring, text + first, length - first);
	ring_end += length;
	wake_up_interruptible(&log_readers);
}

void board_log(const char *fmt, ...)
{
	char line[LOG_LINE_MAX + 1];
	va_list args;
	int length;

	if (!board->logging)
		return;
	va_start(args, fmt);
	length = vscnprintf(line, LOG_LINE_MAX, fmt, args);
	va_end(args);
	line[length++] = '\n';
	mutex_lock(&log_lock);
	append(line, length);
	mutex_unlock(&log_lock);
}

void board_log_clear(void)
{
	mutex_lock(&log_lock);
	ring_start = ring_end;
	mutex_unlock(&log_lock);
}

static int log_open(struct inode *inode, struct file *file)
{
	mutex_lock(&log_lock);
	file->f_pos = ring_start;
	mutex_unlock(&log_lock);
	return 0;
}

static ssize_t log_read(struct file *file, char __user *buffer, size_t count, loff_t *ppos)
{
	u64 position;
	size_t offset, length, first;
	ssize_t result;

	if (*ppos < 0)
		return -EINVAL;
	mutex_lock(&log_lock);
	position = max_t(u64, *ppos, ring_start); /* lines dropped meanwhile are skipped */
	length = position < ring_end ? min_t(u64, count, ring_end - position) : 0;
	offset = ring_offset(position);
	first = min(length, ring_size - offset);
	result = length;
	if (copy_to_user(buffer, ring + offset, first) ||
	    copy_to_user(buffer + first, ring, length - first))
		result = -EFAULT;
	else
		*ppos = position + length;
	mutex_unlock(&log_lock);
	return result;
}

/* SEEK_END goes to the end of the log: later reads see only new lines. */
static loff_t log_llseek(struct file *file, loff_t offset, int whence)
{
	loff_t end;

	mutex_lock(&log_lock);
	end = ring_end;
	mutex_unlock(&log_lock);
	return fixed_size_llseek(file, offset, whence, end);
}

/* Readable while lines follow the descriptor's offset: poll waits for the next line. */
static __poll_t log_poll(struct file *file, poll_table *wait)
{
	__poll_t mask;

	poll_wait(file, &log_readers, wait);
	mutex_lock(&log_lock);
	mask = file->f_pos < ring_end ? EPOLLIN | EPOLLRDNORM : 0;
	mutex_unlock(&log_lock);
	return mask;
}

static const struct file_operations log_fops = {
	.owner = THIS_MODULE,
	.open = log_open,
	.read = log_read,
	.poll = log_poll,
	.llseek = log_llseek,
};

static struct miscdevice log_device = {
	.minor = MISC_DYNAMIC_MINOR,
	.name = "boardlog",
	.fops = &log_fops,
	.mode = 0444,
};

int board_log_create(void)
{
	int error;

	log_kib = clamp(log_kib, 16u, 4096u); /* the size in effect, as sysfs shows it */
	ring_size = (size_t)log_kib * 1024;
	ring = vmalloc(ring_size);
	if (!ring)
		return -ENOMEM;
	ring_start = ring_end = 0;
	error = misc_register(&log_device);
	if (error) {
		vfree(ring);
		ring = NULL;
	}
	return error;
}

void board_log_destroy(void)
{
	misc_deregister(&log_device);
	vfree(ring);
	ring = NULL;
}
