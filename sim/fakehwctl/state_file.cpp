// Creates, initialises and maps /run/sim/hw/state. The file is never
// replaced, only rewritten in place, because every process of the sandbox
// keeps its own shared mapping of it.
#include "sim/fakehwctl/state_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "runtime/unique_fd.h"
#include "sim/fakehwctl/control.h"

namespace fakehwctl {

using fakehw::HwState;
using fakehw::kButtonReleased;
using fakehw::kDefaultBankLevels;
using fakehw::kHwDir;
using fakehw::kRequestsLogPath;
using fakehw::kSimDir;
using fakehw::kStateMagic;
using fakehw::kStatePath;
using fakehw::kStateVersion;
using fakehw::kWifiDir;
using fakehw::Word;

namespace {

HwState *g_state = nullptr;

Result system_error(const std::string &what) { return Result::fail(what + ": " + strerror(errno)); }

Result make_directory(const char *path) {
  if (mkdir(path, 0755) == 0 || errno == EEXIST) return Result::ok();
  return system_error(path);
}

// Opens (creating if need be) and maps the state file; a new file is all
// zeros, i.e. not initialised yet.
Result map_file(bool &fresh) {
  for (const char *dir : {kSimDir, kHwDir, kWifiDir}) {
    if (Result made = make_directory(dir); !made) return made;
  }
  routerd::unique_fd fd(open(kStatePath, O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (!fd.valid()) return system_error(kStatePath);
  struct stat status {};
  if (fstat(fd.get(), &status) < 0) return system_error(kStatePath);
  fresh = status.st_size < static_cast<off_t>(sizeof(HwState));
  if (fresh && ftruncate(fd.get(), sizeof(HwState)) < 0) return system_error(kStatePath);
  void *mapping = mmap(nullptr, sizeof(HwState), PROT_READ | PROT_WRITE, MAP_SHARED, fd.get(), 0);
  if (mapping == MAP_FAILED) return system_error(kStatePath);
  g_state = static_cast<HwState *>(mapping);
  fresh = fresh || g_state->magic.load() != kStateMagic || g_state->version.load() != kStateVersion;
  return Result::ok();
}

// The requests log exists from the start, so the fake drivers log to it.
Result create_requests_log() {
  routerd::unique_fd fd(open(kRequestsLogPath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  return fd.valid() ? Result::ok() : system_error(kRequestsLogPath);
}

}  // namespace

void write_defaults(HwState &state, unsigned time_divisor) {
  state.time_divisor.store(time_divisor);
  state.logging.store(1);
  state.gpio_missing.store(0);
  state.gpio_refuse.store(0);
  for (Word &word : state.bank_levels) word.store(kDefaultBankLevels);
  state.rdm_missing.store(0);
  state.rdm_refuse.store(0);
  state.wan_link.store(1);
  state.button_length.store(0);
  state.button_after.store(kButtonReleased);
  state.button_cursor.store(0);
  state.version.store(kStateVersion);
  state.magic.store(kStateMagic);  // last: the fake drivers map only a complete state
}

Result mapped_state(HwState *&state) {
  if (g_state == nullptr) {
    bool fresh = false;
    if (Result mapped = map_file(fresh); !mapped) return mapped;
    if (fresh) write_defaults(*g_state, 1);
    if (Result log = create_requests_log(); !log) return log;
  }
  state = g_state;
  return Result::ok();
}

Result init_state(unsigned time_divisor) {
  if (time_divisor == 0) return Result::fail("the time divisor must be at least 1");
  HwState *state = nullptr;
  if (Result mapped = mapped_state(state); !mapped) return mapped;
  write_defaults(*state, time_divisor);
  return Result::ok();
}

}  // namespace fakehwctl
