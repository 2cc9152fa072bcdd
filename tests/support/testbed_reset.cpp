// A fresh board for each test: no processes, empty /tmp and /var/run, empty
// logs, the fake drivers' defaults, the store's factory defaults and the
// default network. Refuses to run anywhere but inside the sandbox.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "nvram.h"
#include "sim/fakehwctl/control.h"
#include "tests/support/testbed.h"
#include "tests/support/testbed_check.h"
#include "tests/support/testbed_network.h"

namespace testbed {
namespace {

namespace fs = std::filesystem;

// The sandbox replaces /dev/console with a FIFO; a real machine never has
// one there. Nothing below may ever run against the host's directories.
void require_sandbox() {
  struct stat console {};
  if (stat("/dev/console", &console) == 0 && S_ISFIFO(console.st_mode)) return;
  fprintf(stderr,
          "testbed::reset: not inside the sandbox (/dev/console is no FIFO); "
          "run the test through sim/sandbox\n");
  abort();
}

// Removes what dir holds except the names kept.
void empty_directory(const fs::path &dir, const std::set<std::string> &kept = {}) {
  std::error_code error;
  for (const fs::directory_entry &entry : fs::directory_iterator(dir, error)) {
    if (kept.count(entry.path().filename().string()) != 0) continue;
    std::error_code removed;
    fs::remove_all(entry.path(), removed);
    if (removed) {
      fprintf(stderr, "testbed::reset: %s: %s\n", entry.path().c_str(), removed.message().c_str());
    }
  }
}

}  // namespace

void reset() {
  require_sandbox();
  stop_all();
  empty_directory("/tmp");
  // The simulator's files and the gateway's namespace stay in /run.
  empty_directory("/run", {"sim", "netns"});
  std::error_code error;
  if (!fs::equivalent("/var/run", "/run", error)) empty_directory("/var/run");
  empty_directory("/run/sim/proc");
  clear_logs();
  check(fakehwctl::reset_state(), "reset");
  // Committing first drops what this process set but never committed, so
  // the next test reads the factory defaults too.
  for (int index = RT2860_NVRAM; index <= WIFI3_NVRAM; ++index) nvram_commit(index);
  empty_directory(NVRAM_DIR);
  restore_network();
}

}  // namespace testbed
