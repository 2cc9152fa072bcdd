// Maps /run/sim/hw/state once per process (MAP_SHARED, so every process
// sees the same switches and the same button cursor) without system calls
// after that; safe from signal handlers and concurrent threads.
#include "sim/fakehw/state.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

#include "sim/fakehw/real.h"
#include "sim/fakehw/saved_errno.h"

namespace fakehw {
namespace {

std::atomic<HwState *> g_state{nullptr};

HwState *map_state() {
  SavedErrno saved;
  int fd = real::open(kStatePath, O_RDWR | O_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  void *mapping = MAP_FAILED;
  struct stat status {};
  if (fstat(fd, &status) == 0 && status.st_size >= static_cast<off_t>(sizeof(HwState))) {
    mapping = mmap(nullptr, sizeof(HwState), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  }
  real::close(fd);
  if (mapping == MAP_FAILED) return nullptr;
  auto *state = static_cast<HwState *>(mapping);
  if (state->magic.load() != kStateMagic || state->version.load() != kStateVersion) {
    munmap(mapping, sizeof(HwState));
    return nullptr;
  }
  HwState *earlier = nullptr;
  if (!g_state.compare_exchange_strong(earlier, state)) {
    munmap(mapping, sizeof(HwState));  // another thread mapped it first
    return earlier;
  }
  return state;
}

// Mapped at load time, so the first request costs no extra system calls.
__attribute__((constructor)) void map_at_load() { shared_state(); }

}  // namespace

HwState *shared_state() {
  HwState *state = g_state.load(std::memory_order_acquire);
  return state != nullptr ? state : map_state();
}

uint32_t time_divisor() {
  HwState *state = shared_state();
  uint32_t divisor = state != nullptr ? state->time_divisor.load() : 1;
  return divisor == 0 ? 1 : divisor;
}

bool logging_on() {
  HwState *state = shared_state();
  return state == nullptr || state->logging.load() != 0;
}

}  // namespace fakehw
