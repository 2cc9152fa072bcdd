// The seccomp filter of refuse_signal_action: other architectures and every
// other system call pass untouched.
#include "tests/support/refused_signal.h"

#include <errno.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <stddef.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

namespace testbed {
namespace {

#if defined(__x86_64__)
constexpr unsigned kArch = AUDIT_ARCH_X86_64;
#elif defined(__mips__) && defined(__MIPSEL__) && _MIPS_SIM == _ABIO32
constexpr unsigned kArch = AUDIT_ARCH_MIPSEL;
#else
constexpr unsigned kArch = 0;  // no filter for this architecture
#endif

}  // namespace

bool refuse_signal_action(int sig) {
  if (kArch == 0) return false;
  // The signal number is the low word of the first argument on these
  // little-endian architectures.
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArch, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_rt_sigaction, 0, 3),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<unsigned>(sig), 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EIO & SECCOMP_RET_DATA)),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog program = {static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
      prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
    return false;
  }
  // An emulator may take the filter for its own system calls and keep the
  // program's signal actions to itself: the filter counts only if it bites.
  struct sigaction current {};
  return sigaction(sig, nullptr, &current) == -1 && errno == EIO;
}

}  // namespace testbed
