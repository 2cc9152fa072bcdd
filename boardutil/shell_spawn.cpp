// Starting shell commands with a clean signal mask: /bin/sh -c COMMAND through
// posix_spawn, optionally joined to the caller by a pipe, and waiting for it.
#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

#include "boardutil/pause.h"
#include "boardutil/shell.h"

extern char **environ;

namespace {

// The shells started through shell_open and not yet closed. A daemon keeps
// at most one or two open at a time.
struct OpenShell {
  FILE *stream = nullptr;
  pid_t pid = -1;
};
std::array<OpenShell, 4> g_open_shells;

// Starts the shell; child_fd (0 or 1) is bound to pipe_fd when pipe_fd >= 0.
pid_t spawn_shell(const char *command, int pipe_fd, int child_fd) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  sigset_t mask;
  pause_child_mask(&mask);
  posix_spawnattr_setsigmask(&attributes, &mask);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  if (pipe_fd >= 0) posix_spawn_file_actions_adddup2(&actions, pipe_fd, child_fd);
  char shell[] = "/bin/sh";
  char option[] = "-c";
  char *argv[] = {shell, option, const_cast<char *>(command), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, shell, &actions, &attributes, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return pid;
}

int wait_for(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

}  // namespace

extern "C" int shell_run(const char *command) {
  pid_t pid = spawn_shell(command, -1, -1);
  return pid < 0 ? -1 : wait_for(pid);
}

extern "C" int shell_run_closed_input(const char *command) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return -1;
  pid_t pid = spawn_shell(command, ends[0], STDIN_FILENO);
  close(ends[0]);
  close(ends[1]);
  return pid < 0 ? -1 : wait_for(pid);
}

extern "C" FILE *shell_open(const char *command, const char *mode) {
  OpenShell *slot = nullptr;
  for (OpenShell &candidate : g_open_shells) {
    if (candidate.stream == nullptr) {
      slot = &candidate;
      break;
    }
  }
  bool writing = mode[0] == 'w';
  int ends[2];
  if (slot == nullptr || pipe2(ends, O_CLOEXEC) != 0) return nullptr;
  int ours = writing ? ends[1] : ends[0];
  int theirs = writing ? ends[0] : ends[1];
  pid_t pid = spawn_shell(command, theirs, writing ? STDIN_FILENO : STDOUT_FILENO);
  close(theirs);
  FILE *stream = pid < 0 ? nullptr : fdopen(ours, writing ? "w" : "r");
  if (stream == nullptr) {
    close(ours);
    if (pid >= 0) wait_for(pid);
    return nullptr;
  }
  *slot = {stream, pid};
  return stream;
}

extern "C" int shell_close(FILE *stream) {
  for (OpenShell &slot : g_open_shells) {
    if (slot.stream != stream || stream == nullptr) continue;
    fclose(stream);
    int status = wait_for(slot.pid);
    slot = {};
    return status;
  }
  return -1;
}
