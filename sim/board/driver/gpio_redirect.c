// SPDX-License-Identifier: GPL-2.0
/* Lets the read command of bank 0 reach /dev/gpio. Its number, 2, is
 * FIGETBSZ to this kernel: the VFS answers it for every file with the file
 * system's block size and never asks the driver. A probe on the ioctl
 * system call renames the request, for descriptors of /dev/gpio only, to an
 * alias that the driver maps back to 2. */
#include <linux/fdtable.h>
#include <linux/kprobes.h>
#include <linux/ptrace.h>
#include <linux/rcupdate.h>
#include <linux/sched.h>

#include "board.h"

static const struct file_operations *redirected_fops;
static bool probing;

/* At entry of sys_ioctl(fd, cmd, arg): a0 is fd, a1 is cmd. */
static int rename_request(struct kprobe *probe, struct pt_regs *regs)
{
	unsigned int fd = regs->regs[4];
	struct file *file;

	if ((unsigned int)regs->regs[5] != GPIO_CMD_READ_BANK0 || !current->files)
		return 0;
	rcu_read_lock();
	file = files_lookup_fd_rcu(current->files, fd);
	if (file && file->f_op == redirected_fops)
		regs->regs[5] = BOARD_GPIO_READ_BANK0_ALIAS;
	rcu_read_unlock();
	return 0;
}

static struct kprobe ioctl_probe = {
	.symbol_name = "sys_ioctl",
	.pre_handler = rename_request,
};

int board_gpio_redirect_create(const struct file_operations *gpio_fops)
{
	int error;

	redirected_fops = gpio_fops;
	error = register_kprobe(&ioctl_probe);
	if (error) {
		pr_warn("routerd_board: no probe on sys_ioctl (%d): reads of GPIO bank 0 get the block size\n",
			error);
		return error;
	}
	probing = true;
	return 0;
}

void board_gpio_redirect_destroy(void)
{
	if (probing)
		unregister_kprobe(&ioctl_probe);
	probing = false;
}
