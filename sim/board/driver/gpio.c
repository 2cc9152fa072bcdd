// SPDX-License-Identifier: GPL-2.0
/* /dev/gpio: the bank table of direction and read commands, the button on
 * pin 1 (one script sample per successful read of bank 0), LED patterns
 * kept per pin, and interrupt registration. */
#include <linux/fs.h>
#include <linux/miscdevice.h>
#include <linux/module.h>
#include <linux/uaccess.h>

#include "board.h"

struct bank {
	unsigned int dir_in_command;
	unsigned int read_command;
	unsigned int pins;
};

static const struct bank banks[BOARD_GPIO_BANKS] = {
	{ GPIO_CMD_DIR_IN_BANK0, GPIO_CMD_READ_BANK0, 24 },
	{ GPIO_CMD_DIR_IN_BANK1, GPIO_CMD_READ_BANK1, 16 },
	{ GPIO_CMD_DIR_IN_BANK2, GPIO_CMD_READ_BANK2, 32 },
	{ GPIO_CMD_DIR_IN_BANK3, GPIO_CMD_READ_BANK3, 1 },
};
#define BUTTON_BANK 0
#define BUTTON_BIT (1u << 1)

static const char *const led_fields[] = { "pin", "on", "off", "blinks", "rests", "times" };

static int refused(unsigned int cmd, int error, const char *reason)
{
	board_log("gpio refused cmd=0x%02X (%s)", cmd, reason);
	return -error;
}

static bool scripted_failure(u32 kind)
{
	return (board->gpio_refuse & kind) != 0;
}

static int failing(unsigned int cmd)
{
	return refused(cmd, BOARD_SCRIPTED_FAILURE, "failing on request");
}

/* The button's level for the next read of bank 0, without taking it. */
static u32 button_level(void)
{
	if (board->button_cursor < board->button_length)
		return board->button_levels[board->button_cursor];
	return board->button_after;
}

static u32 bank_levels(unsigned int bank)
{
	u32 word = board->bank_levels[bank];

	if (bank != BUTTON_BANK)
		return word;
	return button_level() ? word | BUTTON_BIT : word & ~BUTTON_BIT;
}

static int set_dir_in(unsigned int bank, unsigned int cmd, unsigned long mask)
{
	char reason[64];

	if (scripted_failure(BOARD_GPIO_DIR))
		return failing(cmd);
	if (mask == 0 || (mask & (mask - 1)) != 0 || (u64)mask >> banks[bank].pins != 0) {
		snprintf(reason, sizeof(reason), "mask 0x%lx is not one pin of bank %u", mask,
			 bank);
		return refused(cmd, EINVAL, reason);
	}
	board_log("gpio dir-in cmd=0x%02X mask=0x%lx", cmd, mask);
	return 0;
}

static int read_bank(unsigned int bank, unsigned int cmd, u32 __user *word)
{
	u32 levels;

	if (scripted_failure(BOARD_GPIO_READ))
		return failing(cmd);
	if (!word)
		return refused(cmd, EINVAL, "null argument");
	levels = bank_levels(bank);
	if (put_user(levels, word))
		return refused(cmd, EFAULT, "bad address");
	if (bank == BUTTON_BANK && board->button_cursor < U32_MAX)
		++board->button_cursor;
	board_log("gpio read cmd=0x%02X -> 0x%x", cmd, levels);
	return 0;
}

static int set_led(unsigned int cmd, const void __user *arg)
{
	u32 info[6];
	char reason[64];
	unsigned int i;
	struct board_led *led;

	if (scripted_failure(BOARD_GPIO_LED))
		return failing(cmd);
	if (!arg)
		return refused(cmd, EINVAL, "null argument");
	BUILD_BUG_ON(sizeof(info) != LED_INFO_SIZE);
	if (copy_from_user(info, arg, sizeof(info)))
		return refused(cmd, EFAULT, "bad address");
	for (i = 0; i < ARRAY_SIZE(info); ++i) {
		info[i] = le32_to_cpu((__force __le32)info[i]);
		if (info[i] > (i == 0 ? GPIO_MAX_PIN : LED_MAX_FIELD)) {
			snprintf(reason, sizeof(reason), "%s=%u out of range", led_fields[i],
				 info[i]);
			return refused(cmd, EINVAL, reason);
		}
	}
	led = &board->leds[info[0]];
	*led = (struct board_led){ true, info[1], info[2], info[3], info[4], info[5] };
	board_log("gpio led pin=%u on=%u off=%u blinks=%u rests=%u times=%u", info[0], info[1],
		  info[2], info[3], info[4], info[5]);
	return 0;
}

static int enable_irq(unsigned int cmd)
{
	if (scripted_failure(BOARD_GPIO_IRQ))
		return failing(cmd);
	board_log("gpio irq-enable cmd=0x%02X", cmd);
	return 0;
}

static int register_irq(unsigned int cmd, const void __user *arg)
{
	u32 info[2];
	char reason[48];

	if (scripted_failure(BOARD_GPIO_REGISTER))
		return failing(cmd);
	if (!arg)
		return refused(cmd, EINVAL, "null argument");
	BUILD_BUG_ON(sizeof(info) != GPIO_INFO_SIZE);
	if (copy_from_user(info, arg, sizeof(info)))
		return refused(cmd, EFAULT, "bad address");
	info[0] = le32_to_cpu((__force __le32)info[0]);
	info[1] = le32_to_cpu((__force __le32)info[1]);
	if (info[0] > GPIO_MAX_PIN) {
		snprintf(reason, sizeof(reason), "pin=%u out of range", info[0]);
		return refused(cmd, EINVAL, reason);
	}
	board_log("gpio register pin=%u pid=%d", info[0], (s32)info[1]);
	return 0;
}

static long decode(unsigned int cmd, unsigned long arg)
{
	unsigned int bank;

	for (bank = 0; bank < BOARD_GPIO_BANKS; ++bank) {
		if (cmd == banks[bank].dir_in_command)
			return set_dir_in(bank, cmd, arg);
		if (cmd == banks[bank].read_command)
			return read_bank(bank, cmd, (u32 __user *)arg);
	}
	switch (cmd) {
	case GPIO_CMD_LED_SET:
		return set_led(cmd, (const void __user *)arg);
	case GPIO_CMD_ENABLE_IRQ:
		return enable_irq(cmd);
	case GPIO_CMD_REG_IRQ:
		return register_irq(cmd, (const void __user *)arg);
	default:
		return refused(cmd, EINVAL, "unknown command");
	}
}

static long gpio_ioctl(struct file *file, unsigned int cmd, unsigned long arg)
{
	return board_request(decode, cmd, arg);
}

static int gpio_open(struct inode *inode, struct file *file)
{
	return board_open_unless(&board->gpio_missing);
}

static const struct file_operations gpio_fops = {
	.owner = THIS_MODULE,
	.open = gpio_open,
	.unlocked_ioctl = gpio_ioctl,
	.llseek = noop_llseek,
};

static struct miscdevice gpio_device = {
	.minor = MISC_DYNAMIC_MINOR,
	.name = "gpio",
	.fops = &gpio_fops,
	.mode = 0666,
};

int board_gpio_create(void)
{
	return misc_register(&gpio_device);
}

void board_gpio_destroy(void)
{
	misc_deregister(&gpio_device);
}
