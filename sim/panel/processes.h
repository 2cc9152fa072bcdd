// The panel's child processes: the daemons and the monitor it keeps
// running, and the short tools it runs to their end.
#ifndef SIM_PANEL_PROCESSES_H
#define SIM_PANEL_PROCESSES_H

#include <sys/types.h>

#include <string>
#include <vector>

namespace panel {

// Runs argv (searched on PATH) to its end, at most timeout_ms (then kills
// it), with its standard output in *output (at most kMaxOutput bytes; null
// discards it) and its standard error discarded. Returns the exit status,
// 128 + signal, or -1 when it could not run or timed out.
inline constexpr size_t kMaxOutput = 4096;
int run_tool(const std::vector<std::string> &argv, std::string *output = nullptr,
             int timeout_ms = 10000);

// A long-running child: standard input from /dev/null, standard output
// and error appended to a log file.
class Child {
 public:
  Child(std::string name, std::vector<std::string> argv, std::string log_path)
      : name_(std::move(name)), argv_(std::move(argv)), log_path_(std::move(log_path)) {}
  Child(const Child &) = delete;
  Child &operator=(const Child &) = delete;
  ~Child() { stop(); }

  bool start();
  // True once, when the child is found ended (its status is then kept).
  bool reap();
  // SIGTERM, then SIGKILL if it has not ended within timeout_ms.
  void stop(int timeout_ms = 3000);

  const std::string &name() const { return name_; }
  bool running() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  int exit_status() const { return status_; }  // of the last run; 128 + signal if killed

 private:
  std::string name_;
  std::vector<std::string> argv_;
  std::string log_path_;
  pid_t pid_ = -1;
  int status_ = -1;
};

}  // namespace panel

#endif
