// The button monitor: samples GPIO pin 1 every 50 ms, publishes the press
// total, starts a WPS session after a 1-5 s press and runs the factory reset
// when the button is held for 5 s.
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "boardutil/gpio.h"
#include "boardutil/pause.h"
#include "boardutil/shell.h"
#include "buttond/buttond.h"

namespace {

constexpr int kButtonPin = 1;
constexpr int kPressedLevel = 0;
constexpr int kReleasedLevel = 1;
constexpr long kSamplePauseUsec = 50000;
constexpr int kWpsHold = 20;
constexpr int kResetHold = 100;

void publish_press_total(int total) {
  char command[1024];
  snprintf(command, sizeof command, "echo %d > /tmp/wps_times &", total);
  do_system(command);
  snprintf(command, sizeof command, "echo %d > /tmp/reset_times &", total);
  do_system(command);
}

}  // namespace

extern "C" void check_gpio(void) {
  int fd = open("/dev/gpio", O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    perror("/dev/gpio");
    return;
  }
  int hold = 0;
  int total = 0;
  for (;;) {
    int level = gpio_read(fd, kButtonPin);
    if (level == kPressedLevel) {
      publish_press_total(++total);
      if (++hold >= kResetHold) break;
    } else if (level == kReleasedLevel) {
      if (hold >= kWpsHold) start_wps(WPS_AS_ROUTER);
      hold = 0;
    }
    pause_usec(kSamplePauseUsec);
  }
  do_system("reset &");
  close(fd);
}
