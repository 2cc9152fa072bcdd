/* The GPIO/LED driver interface on /dev/gpio: LED patterns, reading an
 * input pin, interrupt registration. */
#ifndef BOARDUTIL_GPIO_H
#define BOARDUTIL_GPIO_H

#ifdef __cplusplus
extern "C" {
#endif

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
