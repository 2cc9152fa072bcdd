// SPDX-License-Identifier: GPL-2.0
/* routerd_board: the virtual board's drivers (GPIO, switch register,
 * wireless interfaces) answering from scripted state, with their control
 * device and request log. Loads all parts or none; unloads them in reverse. */
#include <linux/module.h>

#include "board.h"

static const struct part {
	int (*create)(void);
	void (*destroy)(void);
} parts[] = {
	{ board_state_create, board_state_destroy },
	{ board_log_create, board_log_destroy },
	{ board_gpio_create, board_gpio_destroy },
	{ board_rdm_create, board_rdm_destroy },
	{ board_wifi_create, board_wifi_destroy },
	{ board_control_create, board_control_destroy },
};

static void destroy_parts(int created)
{
	while (created-- > 0)
		parts[created].destroy();
}

static int __init board_init(void)
{
	int i, error;

	for (i = 0; i < ARRAY_SIZE(parts); ++i) {
		error = parts[i].create();
		if (error) {
			destroy_parts(i);
			return error;
		}
	}
	return 0;
}

static void __exit board_exit(void)
{
	destroy_parts(ARRAY_SIZE(parts));
}

module_init(board_init);
module_exit(board_exit);
MODULE_DESCRIPTION(
	"Virtual router board: GPIO, switch register and wireless drivers with scripted state");
MODULE_LICENSE("GPL");
