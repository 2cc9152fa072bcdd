// Readers of the one-line status files under /tmp, shared by the library's
// probes of /tmp/Pair and /tmp/internetStatus and by uplinkd's loop.
#include "boardutil/status_file.h"

#include <fcntl.h>
#include <unistd.h>

#include "boardutil/console.h"
#include "boardutil/uplink.h"
#include "unique_fd.h"

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

extern "C" int get_pair_status(void) {
  wan_status();  // refreshes /tmp/wanStatus; the decision itself is not needed
  return status_file_says_yes("/tmp/Pair", "Pair NULL\n\n", "Pair: yes\n\n", "Pair: no\n\n");
}

extern "C" int get_internet_status(void) {
  return status_file_says_yes(INTERNET_STATUS_FILE, "internetStatus NULL\n\n",
                              "internetStatus: yes\n\n", "internetStatus: no\n\n");
}
