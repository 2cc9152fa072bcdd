// Messages of the store and its tool on standard error, one line each,
// prefixed "nvram: ".
#include "report.h"

#include <cstdarg>
#include <cstdio>

namespace nvram {

void report(const char *format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  fprintf(stderr, "nvram: %s\n", line);
}

}  // namespace nvram
