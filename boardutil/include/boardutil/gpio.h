/* The GPIO/LED driver interface on /dev/gpio: LED patterns, reading an
 * input pin, interrupt registration. */
#ifndef BOARDUTIL_GPIO_H
#define BOARDUTIL_GPIO_H

#ifdef __cplusplus
extern "C" {
#endif

/* The four ready-made patterns of set_led, by mode. */
#define LED_MODE_DARK 0
#define LED_MODE_LIT 1
#define LED_MODE_SLOW_BLINK 2 /* 10 on, 10 off */
#define LED_MODE_FAST_BLINK 3 /* 3 on, 3 off */

int led_request(unsigned pin, unsigned on, unsigned off, unsigned blinks, unsigned rests,
                unsigned times);
int set_led(int pin, int mode);
int gpio_set_dir_in(int fd, unsigned pin);
int gpio_read_int(int fd, unsigned pin, unsigned *word);
int gpio_read(int fd, int pin);
int gpio_enable_irq(unsigned pin);

#ifdef __cplusplus
}
#endif

#endif
