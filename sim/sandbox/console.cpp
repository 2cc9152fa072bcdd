// Console reader. The FIFO is opened read-write before the fork, so writers
// never block and never see a closed pipe. The reader waits in ppoll with
// SIGTERM unblocked only there; on SIGTERM it copies what is still queued
// and exits.
#include "sim/sandbox/console.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "sim/sandbox/devices.h"
#include "sim/sandbox/setup_error.h"

namespace sandbox {

namespace {

volatile sig_atomic_t stop_requested = 0;

void request_stop(int) { stop_requested = 1; }

void write_all(int fd, const char *data, size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // a full disk or closed stdout loses output, not the sandbox
    data += written;
    size -= static_cast<size_t>(written);
  }
}

// Copies what the FIFO holds now; false when nothing was queued.
bool copy_queued(int console, int log, bool tee_to_stdout) {
  char buffer[4096];
  const ssize_t length = read(console, buffer, sizeof buffer);
  if (length <= 0) return false;
  write_all(log, buffer, static_cast<size_t>(length));
  if (tee_to_stdout) write_all(STDOUT_FILENO, buffer, static_cast<size_t>(length));
  return true;
}

[[noreturn]] void read_console(int console, int log, bool tee_to_stdout) {
  prctl(PR_SET_NAME, "console-reader");
  struct sigaction action = {};
  action.sa_handler = request_stop;
  sigaction(SIGTERM, &action, nullptr);
  sigset_t terminate, wait_mask;
  sigemptyset(&terminate);
  sigaddset(&terminate, SIGTERM);
  sigprocmask(SIG_BLOCK, &terminate, &wait_mask);
  sigdelset(&wait_mask, SIGTERM);
  pollfd readable = {console, POLLIN, 0};
  while (!stop_requested) {
    if (ppoll(&readable, 1, nullptr, &wait_mask) > 0) copy_queued(console, log, tee_to_stdout);
  }
  fcntl(console, F_SETFL, O_NONBLOCK);
  while (copy_queued(console, log, tee_to_stdout)) {
  }
  _exit(0);
}

}  // namespace

pid_t start_console_reader(bool tee_to_stdout) {
  const int console = open(kConsole, O_RDWR | O_CLOEXEC);
  check(console >= 0, "open %s for reading", kConsole);
  const int log = open(kConsoleLog, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  check(log >= 0, "open %s", kConsoleLog);
  const pid_t reader = fork();
  check(reader >= 0, "fork the console reader");
  if (reader == 0) read_console(console, log, tee_to_stdout);
  close(console);
  close(log);
  return reader;
}

void stop_console_reader(pid_t reader) {
  kill(reader, SIGTERM);
  waitpid(reader, nullptr, 0);
}

}  // namespace sandbox
