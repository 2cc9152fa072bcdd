// SPDX-License-Identifier: GPL-2.0
/* /dev/rdm0, the switch register access driver: the accept request and
 * reads of the switch register whose bit 0 is the WAN port's link. */
#include <linux/fs.h>
#include <linux/miscdevice.h>
#include <linux/module.h>
#include <linux/uaccess.h>

#include "board.h"

static int refused(unsigned int cmd, int error, const char *reason)
{
	board_log("rdm refused cmd=0x%04X (%s)", cmd, reason);
	return -error;
}

static int accept(unsigned int cmd, unsigned long value)
{
	char reason[40];

	if (value != 0) {
		snprintf(reason, sizeof(reason), "argument 0x%lx, not 0", value);
		return refused(cmd, EINVAL, reason);
	}
	board_log("rdm cmd=0x%04X arg=%lu", cmd, value);
	return 0;
}

static int read_register(unsigned int cmd, u32 __user *word)
{
	char reason[40];
	u32 offset, value;

	if (!word)
		return refused(cmd, EINVAL, "null argument");
	if (get_user(offset, word))
		return refused(cmd, EFAULT, "bad address");
	if (offset != RDM_WAN_PORT_REGISTER) {
		snprintf(reason, sizeof(reason), "register 0x%x unknown", offset);
		return refused(cmd, EINVAL, reason);
	}
	value = board->wan_link & RDM_WAN_LINK_BIT;
	if (put_user(value, word))
		return refused(cmd, EFAULT, "bad address");
	board_log("rdm read reg=0x%x -> 0x%x", offset, value);
	return 0;
}

static long decode(unsigned int cmd, unsigned long arg)
{
	switch (cmd) {
	case RDM_CMD_PREPARE:
		if (board->rdm_refuse & BOARD_RDM_ACCEPT)
			break;
		return accept(cmd, arg);
	case RDM_CMD_READ:
		if (board->rdm_refuse & BOARD_RDM_READ)
			break;
		return read_register(cmd, (u32 __user *)arg);
	default:
		return refused(cmd, EINVAL, "unknown command");
	}
	return refused(cmd, BOARD_SCRIPTED_FAILURE, "failing on request");
}

static long rdm_ioctl(struct file *file, unsigned int cmd, unsigned long arg)
{
	return board_request(decode, cmd, arg);
}

static int rdm_open(struct inode *inode, struct file *file)
{
	return board_open_unless(&board->rdm_missing);
}

static const struct file_operations rdm_fops = {
	.owner = THIS_MODULE,
	.open = rdm_open,
	.unlocked_ioctl = rdm_ioctl,
	.llseek = noop_llseek,
};

static struct miscdevice rdm_device = {
	.minor = MISC_DYNAMIC_MINOR,
	.name = "rdm0",
	.fops = &rdm_fops,
	.mode = 0666,
};

int board_rdm_create(void)
{
	return misc_register(&rdm_device);
}

void board_rdm_destroy(void)
{
	misc_deregister(&rdm_device);
}
