// Messages are formatted into a bounded line first, so a report is one
// write of at most 512 characters whatever the texts it quotes.
#include "nvram/status.h"

#include <cstdarg>
#include <cstdio>

namespace nvram {
namespace {

constexpr size_t kLine = 512;

__attribute__((format(printf, 1, 0))) std::string format_line(const char *format, va_list args) {
  char line[kLine];
  vsnprintf(line, sizeof line, format, args);
  return line;
}

}  // namespace

Status Status::error(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string message = format_line(format, args);
  va_end(args);
  return Status(Code::error, std::move(message));
}

void report(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string line = format_line(format, args);
  va_end(args);
  fprintf(stderr, "nvram: %s\n", line.c_str());
}

void report(const Status &status) { fprintf(stderr, "nvram: %s\n", status.message().c_str()); }

}  // namespace nvram
