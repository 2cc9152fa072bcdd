// Readers of the one-line status files under /tmp, shared by the library's
// probes of /tmp/Pair and /tmp/internetStatus and by uplinkd's loop.
#include <fcntl.h>
#include <unistd.h>

#include "boardutil/console.h"
#include "boardutil/status_file.h"
#include "runtime/unique_fd.h"

namespace {
constexpr size_t kStatusReadBytes = 5;
}

extern "C" int status_file_first_byte(const char *path) {
  routerd::unique_fd file(open(path, O_RDONLY | O_CLOEXEC));
  if (!file.valid()) return -1;
  unsigned char bytes[kStatusReadBytes] = {};
  ssize_t length = read(file.get(), bytes, sizeof bytes);
  return length > 0 ? bytes[0] : 0;
}

extern "C" int status_file_says_yes(const char *path, const char *missing, const char *yes,
                                    const char *no) {
  int first = status_file_first_byte(path);
  if (first < 0) {
    console_debug("%s", missing);
    return 0;
  }
  if (first == '1') {
    console_debug("%s", yes);
    return 1;
  }
  console_debug("%s", no);
  return 0;
}
