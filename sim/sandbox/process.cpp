// Process handling without asynchronous signal handlers: the supervised
// signals stay blocked and are taken one at a time with sigwaitinfo, so
// reaping and forwarding never race with the rest of the sandbox.
#include "sim/sandbox/process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sim/sandbox/setup_error.h"

namespace sandbox {

namespace {

sigset_t supervised_signals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (int sig : {SIGCHLD, SIGTERM, SIGINT, SIGHUP}) sigaddset(&signals, sig);
  return signals;
}

int exit_status(int wait_status) {
  return WIFSIGNALED(wait_status) ? 128 + WTERMSIG(wait_status) : WEXITSTATUS(wait_status);
}

}  // namespace

void block_supervised_signals() {
  const sigset_t signals = supervised_signals();
  sigprocmask(SIG_BLOCK, &signals, nullptr);
}

pid_t start_process(const std::vector<std::string> &argv) {
  const pid_t pid = fork();
  check(pid >= 0, "fork for %s", argv[0].c_str());
  if (pid > 0) return pid;
  std::vector<char *> args;
  for (const std::string &arg : argv) args.push_back(const_cast<char *>(arg.c_str()));
  args.push_back(nullptr);
  const sigset_t signals = supervised_signals();
  sigprocmask(SIG_UNBLOCK, &signals, nullptr);
  execvp(args[0], args.data());
  fprintf(stderr, "sandbox: cannot run %s: %s\n", args[0], strerror(errno));
  _exit(127);
}

int run_command(const std::vector<std::string> &argv) {
  const pid_t pid = start_process(argv);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) check(errno == EINTR, "wait for %s", argv[0].c_str());
  return exit_status(status);
}

int supervise(pid_t child) {
  const sigset_t signals = supervised_signals();
  for (;;) {
    const int sig = sigwaitinfo(&signals, nullptr);
    if (sig < 0) continue;  // EINTR from a stop/continue
    if (sig != SIGCHLD) {
      kill(child, sig);
      continue;
    }
    int status = 0;
    for (pid_t ended; (ended = waitpid(-1, &status, WNOHANG)) > 0;) {
      if (ended == child) return exit_status(status);
    }
  }
}

}  // namespace sandbox
