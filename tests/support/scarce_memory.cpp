// The limit is the address space in use (/proc/self/statm) plus the spare
// room, and counts only once the kernel reports it back.
#include "tests/support/scarce_memory.h"

#include <stdio.h>
#include <unistd.h>

namespace testbed {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedAllocator = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitizedAllocator = true;
#else
constexpr bool kSanitizedAllocator = false;
#endif
#else
constexpr bool kSanitizedAllocator = false;
#endif

size_t mapped_bytes() {
  FILE *statm = fopen("/proc/self/statm", "re");
  if (statm == nullptr) return 0;
  unsigned long pages = 0;
  if (fscanf(statm, "%lu", &pages) != 1) pages = 0;
  fclose(statm);
  return static_cast<size_t>(pages) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace

ScarceMemory::ScarceMemory(size_t spare) {
  getrlimit(RLIMIT_AS, &saved_);
  if (kSanitizedAllocator) return;
  size_t mapped = mapped_bytes();
  if (mapped == 0) return;
  rlimit scarce = saved_;
  scarce.rlim_cur = static_cast<rlim_t>(mapped + spare);
  if (setrlimit(RLIMIT_AS, &scarce) != 0) return;
  rlimit now{};
  holds_ = getrlimit(RLIMIT_AS, &now) == 0 && now.rlim_cur == scarce.rlim_cur;
}

ScarceMemory::~ScarceMemory() { setrlimit(RLIMIT_AS, &saved_); }

}  // namespace testbed
