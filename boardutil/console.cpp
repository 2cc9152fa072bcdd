// Console diagnostics: every message opens /dev/console anew ("w+", which
// leaves a device or FIFO as it is), writes, and closes it again. Debug
// messages are written only while the switch file /tmp/log exists.
#include "boardutil/console.h"

#include <stdarg.h>
#include <stdio.h>
#include <unistd.h>

namespace {

constexpr const char kConsole[] = "/dev/console";
constexpr const char kDebugSwitch[] = "/tmp/log";

__attribute__((format(printf, 1, 0))) void console_vwrite(const char *format, va_list args) {
  FILE *console = fopen(kConsole, "w+");
  if (console == nullptr) return;
  vfprintf(console, format, args);
  fclose(console);
}

}  // namespace

extern "C" void console_debug(const char *format, ...) {
  if (access(kDebugSwitch, F_OK) != 0) return;
  va_list args;
  va_start(args, format);
  console_vwrite(format, args);
  va_end(args);
}

extern "C" void console_print(const char *format, ...) {
  va_list args;
  va_start(args, format);
  console_vwrite(format, args);
  va_end(args);
}
