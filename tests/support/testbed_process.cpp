// Processes a test starts in the sandbox: spawned in their own process
// groups with their output in files under /run/sim/proc/, waited for in real
// time, and killed together with what they started.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "tests/support/testbed.h"

namespace testbed {
namespace {

constexpr char kProcDir[] = "/run/sim/proc";
constexpr char kMonitor[] = "/sim/bin/monitor";
constexpr char kMonitorPid[] = "/var/run/monitor.pid";

// Exit statuses of the processes spawned and reaped so far, by pid.
std::map<pid_t, int> g_ended;
std::vector<pid_t> g_spawned;
unsigned g_spawn_count = 0;

int exit_code(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// Reaps pid if it has ended (blocking: waits for it); true once it is gone.
bool reap(pid_t pid, bool block) {
  if (g_ended.count(pid) != 0) return true;
  int status = 0;
  pid_t ended = waitpid(pid, &status, block ? 0 : WNOHANG);
  if (ended == pid) {
    g_ended[pid] = exit_code(status);
    return true;
  }
  return ended < 0 && errno == ECHILD;  // not ours: reaped elsewhere
}

// In the child: output to the files, a clean signal state, then the program.
[[noreturn]] void exec_child(const Process &process, const std::vector<char *> &argv) {
  setpgid(0, 0);
  int in = open("/dev/null", O_RDONLY);
  int out = open(process.stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int err = open(process.stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0 || err < 0) _exit(126);
  dup2(in, 0);
  dup2(out, 1);
  dup2(err, 2);
  for (int fd : {in, out, err}) {
    if (fd > 2) close(fd);
  }
  for (int sig = 1; sig < NSIG; ++sig) signal(sig, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

}  // namespace

std::string Process::out() const { return read_file(stdout_path); }
std::string Process::err() const { return read_file(stderr_path); }

bool Process::running() const { return pid > 0 && !reap(pid, false); }

int Process::wait(int timeout_ms) {
  if (pid <= 0) return -1;
  if (!testbed::wait_for([this] { return !running(); }, timeout_ms)) return -1;
  auto ended = g_ended.find(pid);
  return ended != g_ended.end() ? ended->second : -1;
}

void Process::signal(int sig) const {
  if (running()) kill(pid, sig);
}

Process spawn(const std::string &path, const std::vector<std::string> &args) {
  std::filesystem::create_directories(kProcDir);
  Process process;
  std::string base = std::filesystem::path(path).filename().string();
  std::string stem = std::string(kProcDir) + "/" + base + "-" + std::to_string(++g_spawn_count);
  process.stdout_path = stem + ".out";
  process.stderr_path = stem + ".err";
  std::vector<std::string> words{path};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char *> argv;
  for (std::string &word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  process.pid = fork();
  if (process.pid == 0) exec_child(process, argv);
  if (process.pid < 0) {
    perror("testbed::spawn: fork");
    abort();
  }
  setpgid(process.pid, process.pid);  // as the child does: whichever runs first
  g_spawned.push_back(process.pid);
  return process;
}

void stop_all() {
  for (pid_t pid : g_spawned) {
    kill(-pid, SIGKILL);  // its process group: what it started, even after it ended
    if (!reap(pid, false)) {
      kill(pid, SIGKILL);
      reap(pid, true);
    }
  }
  g_spawned.clear();
}

int sh(const std::string &command) {
  int status = system(command.c_str());
  return status < 0 ? -1 : exit_code(status);
}

pid_t start_monitor() {
  remove_file(kMonitorPid);
  Process monitor = spawn(kMonitor);
  bool started = wait_for([] { return read_file(kMonitorPid).find('\n') != std::string::npos; });
  if (!started) {
    fprintf(stderr, "testbed::start_monitor: %s did not write %s\n", kMonitor, kMonitorPid);
    return monitor.pid;
  }
  return static_cast<pid_t>(std::atoi(read_file(kMonitorPid).c_str()));
}

unsigned monitor_hups() { return static_cast<unsigned>(read_lines(kMonitorHups).size()); }

}  // namespace testbed
