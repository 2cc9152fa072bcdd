// A process that cannot install a signal handler: rt_sigaction for one
// signal fails with EIO from then on, as fault injection makes it fail.
#ifndef TESTS_SUPPORT_REFUSED_SIGNAL_H
#define TESTS_SUPPORT_REFUSED_SIGNAL_H

namespace testbed {

// Installs a seccomp filter that refuses every rt_sigaction of sig in this
// process and its children for the rest of their lives, so call it in a
// child process. False when the system offers no such filter (an emulator
// such as qemu-user refuses seccomp).
bool refuse_signal_action(int sig);

}  // namespace testbed

#endif
