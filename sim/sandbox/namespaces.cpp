// Namespaces. As root the mount, PID and network namespaces suffice; an
// unprivileged user also gets a user namespace in which it is root (uid and
// gid mapped to 0), the best we can do without privileges.
#include "sim/sandbox/namespaces.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/sandbox/process.h"
#include "sim/sandbox/setup_error.h"

namespace sandbox {

namespace {

void write_proc_file(const char *path, const char *text) {
  const int fd = open(path, O_WRONLY | O_CLOEXEC);
  check(fd >= 0, "open %s", path);
  const ssize_t written = write(fd, text, strlen(text));
  const bool complete = written == static_cast<ssize_t>(strlen(text));
  close(fd);
  check(complete, "write \"%s\" to %s", text, path);
}

void map_user_to_root(uid_t uid, gid_t gid) {
  char map[64];
  snprintf(map, sizeof map, "0 %u 1", static_cast<unsigned>(uid));
  write_proc_file("/proc/self/uid_map", map);
  write_proc_file("/proc/self/setgroups", "deny");
  snprintf(map, sizeof map, "0 %u 1", static_cast<unsigned>(gid));
  write_proc_file("/proc/self/gid_map", map);
}

}  // namespace

void enter_namespaces() {
  const uid_t uid = geteuid();
  const gid_t gid = getegid();
  const int user_namespace = uid == 0 ? 0 : CLONE_NEWUSER;
  check(unshare(user_namespace | CLONE_NEWNS | CLONE_NEWPID | CLONE_NEWNET) == 0,
        "unshare the mount, PID and network namespaces%s",
        user_namespace ? " (in a user namespace)" : "");
  if (user_namespace) map_user_to_root(uid, gid);
}

int run_namespace_init(const std::function<int()> &init_main) {
  block_supervised_signals();
  const pid_t init = fork();
  check(init >= 0, "fork the sandbox's init");
  if (init == 0) {
    // If the host side dies, so does the init, and with it every process,
    // mount and network interface of the sandbox.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    exit(init_main());
  }
  return supervise(init);
}

}  // namespace sandbox
