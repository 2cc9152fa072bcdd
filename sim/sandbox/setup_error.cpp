// Reporting of failed setup steps: the message names the step, the exit
// status is kSetupFailed.
#include "sim/sandbox/setup_error.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sandbox {

namespace {

[[noreturn]] void report(const char *reason, const char *format, va_list args) {
  char step[512];
  vsnprintf(step, sizeof step, format, args);
  if (reason) {
    fprintf(stderr, "sandbox: %s: %s\n", step, reason);
  } else {
    fprintf(stderr, "sandbox: %s\n", step);
  }
  exit(kSetupFailed);
}

}  // namespace

void setup_failed(const char *format, ...) {
  va_list args;
  va_start(args, format);
  report(nullptr, format, args);
}

void check(bool ok, const char *format, ...) {
  if (ok) return;
  const char *reason = strerror(errno);
  va_list args;
  va_start(args, format);
  report(reason, format, args);
}

}  // namespace sandbox
