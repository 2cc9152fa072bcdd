// A process short of memory: while a ScarceMemory lives, an allocation
// larger than its spare room fails (malloc gives null), as on a router whose
// memory ran out, without touching the rest of the machine.
#ifndef TESTS_SUPPORT_SCARCE_MEMORY_H
#define TESTS_SUPPORT_SCARCE_MEMORY_H

#include <stddef.h>
#include <sys/resource.h>

namespace testbed {

class ScarceMemory {
 public:
  // Limits this process's address space to what it maps now plus spare
  // bytes (RLIMIT_AS; the shells it starts inherit the limit).
  explicit ScarceMemory(size_t spare);
  ~ScarceMemory();  // the old limit again
  ScarceMemory(const ScarceMemory &) = delete;
  ScarceMemory &operator=(const ScarceMemory &) = delete;

  // False where the limit cannot hold: under AddressSanitizer (its
  // allocator ends the program instead of returning null) or an emulator
  // that keeps the limit to itself (qemu-user).
  bool holds() const { return holds_; }

 private:
  rlimit saved_{};
  bool holds_ = false;
};

}  // namespace testbed

#endif
