// Spawning, reaping and stopping the panel's children with posix_spawn;
// every pipe end and file is closed on every path.
#include "sim/panel/processes.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "runtime/unique_fd.h"
#include "sim/panel/monotonic.h"

extern char **environ;

namespace panel {

namespace {

using routerd::unique_fd;

constexpr int kStatusUnknown = 255;  // the child was reaped elsewhere

int status_of(int wait_status) {
  return WIFSIGNALED(wait_status) ? 128 + WTERMSIG(wait_status) : WEXITSTATUS(wait_status);
}

std::vector<char *> c_argv(const std::vector<std::string> &argv) {
  std::vector<char *> args;
  for (const std::string &arg : argv) args.push_back(const_cast<char *>(arg.c_str()));
  args.push_back(nullptr);
  return args;
}

// posix_spawnp with the given file actions, which it destroys.
pid_t spawn_with(const std::vector<std::string> &argv, posix_spawn_file_actions_t &actions) {
  std::vector<char *> args = c_argv(argv);
  pid_t pid = -1;
  int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -1;
}

// Waits up to timeout_ms for pid to end; its status, or -1 if it is still running.
int wait_for(pid_t pid, int timeout_ms) {
  const uint64_t deadline = now_ms() + uint64_t(timeout_ms);
  for (;;) {
    int status = 0;
    pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == pid) return status_of(status);
    if (ended < 0 && errno != EINTR) return kStatusUnknown;
    if (now_ms() >= deadline) return -1;
    pause_ms(10);
  }
}

// Ends pid: SIGTERM, then SIGKILL after timeout_ms; returns its status.
int end_process(pid_t pid, int timeout_ms) {
  kill(pid, SIGTERM);
  int status = wait_for(pid, timeout_ms);
  if (status >= 0) return status;
  kill(pid, SIGKILL);
  return wait_for(pid, 10000);
}

}  // namespace

int run_tool(const std::vector<std::string> &argv, std::string *output, int timeout_ms) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return -1;
  unique_fd read_end(fds[0]);
  pid_t pid = -1;
  {
    unique_fd write_end(fds[1]);  // the parent's copy closes right after the spawn
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, write_end.get(), 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid = spawn_with(argv, actions);
  }
  if (pid < 0) return -1;

  const uint64_t deadline = now_ms() + uint64_t(timeout_ms);
  char buffer[512];
  for (uint64_t now = now_ms(); now < deadline; now = now_ms()) {
    pollfd pfd{read_end.get(), POLLIN, 0};
    if (poll(&pfd, 1, int(deadline - now)) <= 0) continue;
    ssize_t n = read(read_end.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (output) {
      output->append(buffer,
                     std::min(size_t(n), kMaxOutput - std::min(output->size(), kMaxOutput)));
    }
  }
  const uint64_t now = now_ms();
  int status = wait_for(pid, now < deadline ? int(deadline - now) : 0);
  if (status < 0) end_process(pid, 0);
  return status;
}

bool Child::start() {
  if (running()) return true;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, log_path_.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                   0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_ = spawn_with(argv_, actions);
  return pid_ > 0;
}

bool Child::reap() {
  if (!running()) return false;
  int status = 0;
  pid_t ended = waitpid(pid_, &status, WNOHANG);
  if (ended == 0 || (ended < 0 && errno == EINTR)) return false;
  status_ = ended == pid_ ? status_of(status) : kStatusUnknown;
  pid_ = -1;
  return true;
}

void Child::stop(int timeout_ms) {
  if (!running()) return;
  status_ = end_process(pid_, timeout_ms);
  pid_ = -1;
}

}  // namespace panel
