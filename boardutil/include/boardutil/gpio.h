/* The GPIO/LED driver interface on /dev/gpio: LED patterns, reading an
 * input pin, interrupt registration. Pins are 0 to 72; the driver serves
 * them in four banks (gpio_abi.h). */
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

/* Hands one blink pattern for pin to the driver: on and off phase lengths,
 * blinks per group, rests between groups and the number of groups, in the
 * driver's time unit. 0; -1 without a message for a pin above 72 or a field
 * above 4000; -1 with perror("/dev/gpio") or perror("ioctl") when the
 * driver cannot be reached. Opens and closes /dev/gpio on every call. */
int led_request(unsigned pin, unsigned on, unsigned off, unsigned blinks, unsigned rests,
                unsigned times);
/* Sends the ready-made pattern mode (LED_MODE_*) for pin through
 * led_request; any other mode sends nothing. Always 0: a rejected or failed
 * request is not passed on. */
int set_led(int pin, int mode);
/* Makes pin an input, on the caller's open /dev/gpio descriptor fd. 0, or
 * -1 with "gpio_set_dir_in ioctl" (no line end) on standard output. */
int gpio_set_dir_in(int fd, unsigned pin);
/* Reads the level word of pin's bank into *word (0 first, so a failed read
 * leaves 0). 0, or -1 with "gpio_read_int =  ioctl" on standard output. */
int gpio_read_int(int fd, unsigned pin, unsigned *word);
/* The level of pin on fd: 0 or 1, or -1 for a pin outside 0-72 or a failed
 * read. Makes the pin an input first. */
int gpio_read(int fd, int pin);
/* Registers the calling process for pin's interrupt (the driver signals it):
 * 0, or -1 with perror. Library interface; no program of this tree calls it. */
int gpio_enable_irq(unsigned pin);

#ifdef __cplusplus
}
#endif

#endif
