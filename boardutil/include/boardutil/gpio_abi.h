/* Command numbers and record layouts of the GPIO driver, shared by the
 * library and the simulator's fake driver. */
#ifndef BOARDUTIL_GPIO_ABI_H
#define BOARDUTIL_GPIO_ABI_H

#ifdef __KERNEL__
#include <linux/types.h>
#else
#include <stdint.h>
#endif

#define GPIO_CMD_DIR_IN_BANK0 0x11 /* pins 0-23, value = bit mask */
#define GPIO_CMD_DIR_IN_BANK1 0x13 /* pins 24-39 */
#define GPIO_CMD_DIR_IN_BANK2 0x15 /* pins 40-71 */
#define GPIO_CMD_DIR_IN_BANK3 0x17 /* pin 72 */
#define GPIO_CMD_READ_BANK0 0x02   /* argument: address of a u32 */
#define GPIO_CMD_READ_BANK1 0x52
#define GPIO_CMD_READ_BANK2 0x62
#define GPIO_CMD_READ_BANK3 0x72
#define GPIO_CMD_LED_SET 0x41 /* argument: address of a led_info */
#define GPIO_CMD_ENABLE_IRQ 0x08
#define GPIO_CMD_REG_IRQ 0x0A /* argument: address of a gpio_info */

#define GPIO_MAX_PIN 72
#define LED_MAX_FIELD 4000

/* led_info: six u32 in this order. */
#define LED_INFO_SIZE 24
/* gpio_info: u32 pin, i32 pid. */
#define GPIO_INFO_SIZE 8

#ifdef __cplusplus
static_assert(LED_INFO_SIZE == 6 * sizeof(uint32_t), "led_info is six u32");
static_assert(GPIO_INFO_SIZE == 2 * sizeof(uint32_t), "gpio_info is two 32-bit words");
#endif

#endif
