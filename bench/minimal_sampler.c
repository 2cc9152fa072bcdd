/* The smallest program that samples the push button as buttond does: opens
 * /dev/gpio and every 50 ms sets the pin to input and reads its bank. The
 * board figures compare the daemons' memory against this floor. */
#include <fcntl.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include "boardutil/gpio_abi.h"

int main(void) {
  int fd = open("/dev/gpio", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 1;
  const struct timespec period = {0, 50 * 1000 * 1000};
  for (;;) {
    unsigned word = 0;
    if (ioctl(fd, GPIO_CMD_DIR_IN_BANK0, 1UL << 1) < 0 ||
        ioctl(fd, GPIO_CMD_READ_BANK0, &word) < 0) {
      close(fd);
      return 1;
    }
    nanosleep(&period, NULL);
  }
}
