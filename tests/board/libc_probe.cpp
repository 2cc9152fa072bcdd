// libc-probe: how the board's C library behaves where the daemons depend on
// it, printed as "NAME VALUE" lines for the board test of the C libraries
// (libc_findings_test.cpp). The timer, the pauses and the shell runner are
// the shipped boardutil code; the rest asks the C library directly.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "boardutil/pause.h"
#include "boardutil/shell.h"
#include "boardutil/timer.h"

extern char **environ;

namespace {

volatile sig_atomic_t g_deliveries = 0;

void count_delivery(int) { g_deliveries = g_deliveries + 1; }

const char *libc_name() {
#if defined(__UCLIBC__)
  return "uclibc";
#elif defined(__GLIBC__)
  return "glibc";
#else
  return "musl";
#endif
}

const char *errno_name(int error) {
  switch (error) {
    case 0:
      return "0";
    case EAGAIN:
      return "EAGAIN";
    case EACCES:
      return "EACCES";
    case EINTR:
      return "EINTR";
    case EINVAL:
      return "EINVAL";
    case ENOENT:
      return "ENOENT";
    default:
      return "other";
  }
}

long monotonic_ms() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000L + now.tv_nsec / 1000000L;
}

// signal(): is the handler still installed after one delivery, and with
// which flags? The WPS poll is armed once and must run every 2 seconds.
void probe_signal() {
  signal(SIGUSR1, count_delivery);
  raise(SIGUSR1);
  struct sigaction now {};
  sigaction(SIGUSR1, nullptr, &now);
  printf("signal-handler-kept %d\n", now.sa_handler == count_delivery ? 1 : 0);
  printf("signal-flags%s%s%s\n", (now.sa_flags & SA_RESTART) ? " restart" : "",
         (now.sa_flags & SA_RESETHAND) ? " resethand" : "",
         (now.sa_flags & SA_NODEFER) ? " nodefer" : "");
}

// The shipped timer and pauses as buttond uses them: SIGALRM blocked but
// for the pauses, a 1-second period; how many polls ran in 4.5 seconds.
void probe_timer_polls() {
  g_deliveries = 0;
  pause_block_signal(SIGALRM);
  setTimer(1, count_delivery);
  long end = monotonic_ms() + 4500;
  while (monotonic_ms() < end) pause_usec(100000);
  stopTimer();
  printf("timer-polls %d\n", static_cast<int>(g_deliveries));
}

// A 50 ms pause of the button loop: one ppoll. Its length, whether the
// library kept the caller's timeout untouched, and whether a signal let in
// for the pause ends it (EINTR) and runs its handler.
void probe_ppoll() {
  timespec period{0, 50 * 1000 * 1000};
  long start = monotonic_ms();
  int result = 0;
  for (int i = 0; i < 10 && result == 0; ++i) result = ppoll(nullptr, 0, &period, nullptr);
  printf("ppoll-result %d %s\n", result, errno_name(result == 0 ? 0 : errno));
  printf("ppoll-10x50ms %ld\n", monotonic_ms() - start);
  printf("ppoll-timeout-kept %d\n", period.tv_sec == 0 && period.tv_nsec == 50 * 1000 * 1000);

  signal(SIGUSR2, count_delivery);
  sigset_t block;
  sigemptyset(&block);
  sigaddset(&block, SIGUSR2);
  sigset_t open_mask;
  sigprocmask(SIG_BLOCK, &block, &open_mask);
  sigdelset(&open_mask, SIGUSR2);
  g_deliveries = 0;
  raise(SIGUSR2);
  timespec second{1, 0};
  result = ppoll(nullptr, 0, &second, &open_mask);
  printf("ppoll-lets-signal-in %d %s %d\n", result, errno_name(result == 0 ? 0 : errno),
         static_cast<int>(g_deliveries));

  // What stopTimer does with an alarm that is already pending.
  raise(SIGUSR2);
  timespec none{};
  printf("sigtimedwait-takes-pending %d\n", sigtimedwait(&block, nullptr, &none) == SIGUSR2);
  sigprocmask(SIG_UNBLOCK, &block, nullptr);
}

// posix_spawn of a program that does not exist: an error from posix_spawn
// itself, or a child that exits with 127.
void probe_spawn_failure() {
  char path[] = "/nonexistent/program";
  char *argv[] = {path, nullptr};
  pid_t pid = -1;
  int error = posix_spawn(&pid, path, nullptr, nullptr, argv, environ);
  if (error != 0) {
    printf("spawn-missing error %s\n", errno_name(error));
    return;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  printf("spawn-missing exit %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

// The shipped shell runner with SIGTERM blocked for the pauses, as uplinkd
// has it: the command's blocked signals (/proc's SigBlk line, in hex).
void probe_spawn_mask() {
  pause_block_signal(SIGTERM);
  FILE *shell = shell_open("sed -n 's/^SigBlk:[[:space:]]*//p' /proc/self/status", "r");
  char line[80] = "";
  if (shell != nullptr) {
    if (fgets(line, sizeof line, shell) == nullptr) line[0] = '\0';
    shell_close(shell);
  }
  line[strcspn(line, "\n")] = '\0';
  printf("spawn-sigblk %s\n", line[0] != '\0' ? line : "none");
  sigset_t ours;
  sigprocmask(SIG_SETMASK, nullptr, &ours);
  printf("spawn-parent-blocks-term %d\n", sigismember(&ours, SIGTERM));
}

// lockf on a file another process holds locked, as two starters of one
// daemon meet at its pid file.
void probe_lockf() {
  char path[] = "/tmp/libc-probe.lock";
  int fd = open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0 || lockf(fd, F_LOCK, 0) != 0) {
    printf("lockf-lock failed %s\n", errno_name(errno));
    if (fd >= 0) close(fd);
    return;
  }
  int report[2];
  if (pipe(report) != 0) {
    close(fd);
    return;
  }
  pid_t child = fork();
  if (child == 0) {
    int other = open(path, O_WRONLY | O_CLOEXEC);
    int tlock = lockf(other, F_TLOCK, 0);
    int tlock_error = tlock == 0 ? 0 : errno;
    int test = lockf(other, F_TEST, 0);
    int test_error = test == 0 ? 0 : errno;
    char text[96];
    int length = snprintf(text, sizeof text, "lockf-tlock-held %d %s\nlockf-test-held %d %s\n",
                          tlock, errno_name(tlock_error), test, errno_name(test_error));
    if (write(report[1], text, static_cast<size_t>(length)) != length) _exit(1);
    _exit(0);
  }
  close(report[1]);
  char text[96];
  ssize_t length = child > 0 ? read(report[0], text, sizeof text - 1) : -1;
  if (length > 0) fwrite(text, 1, static_cast<size_t>(length), stdout);
  if (child > 0) waitpid(child, nullptr, 0);
  close(report[0]);
  close(fd);
  unlink(path);
}

}  // namespace

int main() {
  printf("libc %s\n", libc_name());
  printf("time_t-bits %d\n", static_cast<int>(sizeof(time_t) * 8));
  probe_signal();
  probe_ppoll();
  probe_spawn_failure();
  probe_lockf();
  probe_timer_polls();
  probe_spawn_mask();
  return 0;
}
