/* The smallest program that does buttond's steady work: opens /dev/gpio
 * once and reads bank 0 every 50 ms for ever. The board benchmark sets the
 * daemons' memory against it. */
#include <fcntl.h>
#include <stdint.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "boardutil/gpio_abi.h"

int main(void) {
  int gpio = open("/dev/gpio", O_RDONLY | O_CLOEXEC);
  if (gpio < 0) return 1;
  for (;;) {
    uint32_t levels = 0;
    ioctl(gpio, GPIO_CMD_READ_BANK0, &levels);
    usleep(50000);
  }
}
