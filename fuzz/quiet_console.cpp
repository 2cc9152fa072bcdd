// The console for fuzz targets: messages are formatted (so their arguments
// are still checked by the sanitizers) into a buffer and dropped, instead of
// reaching the machine's /dev/console, and no /tmp/log lookup per message
// slows the run down. Linked before boardutil, it replaces console.cpp.
#include <stdarg.h>
#include <stdio.h>

#include "boardutil/console.h"

namespace {

__attribute__((format(printf, 1, 0))) void format_and_drop(const char *format, va_list args) {
  char text[512];
  vsnprintf(text, sizeof text, format, args);
}

}  // namespace

extern "C" void console_debug(const char *format, ...) {
  va_list args;
  va_start(args, format);
  format_and_drop(format, args);
  va_end(args);
}

extern "C" void console_print(const char *format, ...) {
  va_list args;
  va_start(args, format);
  format_and_drop(format, args);
  va_end(args);
}
