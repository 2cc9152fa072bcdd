// sandbox: runs a program in fresh mount, PID and network namespaces laid
// out like the router (sim/README.md) and returns its exit status.
// Usage: sandbox [--preload LIB]... [--time-divisor N] [--console-tee] -- PROGRAM ARGS...
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sim/sandbox/console.h"
#include "sim/sandbox/devices.h"
#include "sim/sandbox/namespaces.h"
#include "sim/sandbox/network.h"
#include "sim/sandbox/preload.h"
#include "sim/sandbox/process.h"
#include "sim/sandbox/rootfs.h"
#include "sim/sandbox/setup_error.h"
#include "sim/sandbox/sim_state.h"
#include "sim/sandbox/stubs.h"

namespace sandbox {
namespace {

// The new root is built on a tmpfs over /tmp: this mount namespace replaces
// /tmp anyway, and the host's /tmp is never written.
constexpr char kNewRoot[] = "/tmp";

struct Options {
  std::vector<std::string> preloads;
  unsigned time_divisor = 1;
  bool console_tee = false;
  std::vector<std::string> program;
};

[[noreturn]] void usage(const char *problem) {
  setup_failed(
      "%s\nusage: sandbox [--preload LIB]... [--time-divisor N] [--console-tee] -- PROGRAM ARGS...",
      problem);
}

unsigned parse_divisor(const char *text) {
  char *end = nullptr;
  const unsigned long divisor = strtoul(text, &end, 10);
  if (!*text || *end || divisor < 1 || divisor > 1000000) {
    usage("--time-divisor takes a number from 1 to 1000000");
  }
  return static_cast<unsigned>(divisor);
}

Options parse_options(int argc, char **argv) {
  Options options;
  int index = 1;
  for (; index < argc && strcmp(argv[index], "--") != 0; ++index) {
    const bool has_value = index + 1 < argc;
    if (strcmp(argv[index], "--preload") == 0 && has_value) {
      const char *library = argv[++index];
      char path[PATH_MAX];
      check(realpath(library, path) != nullptr, "find preload library %s", library);
      options.preloads.push_back(path);
    } else if (strcmp(argv[index], "--time-divisor") == 0 && has_value) {
      options.time_divisor = parse_divisor(argv[++index]);
    } else if (strcmp(argv[index], "--console-tee") == 0) {
      options.console_tee = true;
    } else {
      usage("unknown option or missing value");
    }
  }
  options.program.assign(argv + std::min(index + 1, argc), argv + argc);
  if (options.program.empty()) usage("no program given after --");
  return options;
}

void set_program_environment(bool preloading) {
  if (preloading) setenv("LD_PRELOAD", kPreloadSpec, 1);
  setenv("QEMU_LD_PREFIX", "/usr/mipsel-linux-gnu", 1);
  setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 0);
}

// PID 1 of the new namespaces: lays out the board, runs the program, and
// returns its status. Leaving ends every other process of the namespace.
int run_board(const Options &options, const std::string &working_dir) {
  build_root(kNewRoot);
  build_dev(std::string(kNewRoot) + "/dev");
  install_stubs(kNewRoot);
  install_preloads(kNewRoot, options.preloads);
  enter_root(kNewRoot, working_dir);
  shadow_host_commands();
  setenv("PATH", kSandboxPath, 1);
  build_network();
  prepare_sim_state(options.time_divisor);
  const pid_t console_reader = start_console_reader(options.console_tee);
  set_program_environment(!options.preloads.empty());
  const int status = supervise(start_process(options.program));
  stop_console_reader(console_reader);
  return status;
}

// Enters the namespaces from the host side; their init runs the board.
int run(int argc, char **argv) {
  const Options options = parse_options(argc, argv);
  char working_dir[PATH_MAX];
  check(getcwd(working_dir, sizeof working_dir) != nullptr, "read the working directory");
  enter_namespaces();
  return run_namespace_init([&] { return run_board(options, working_dir); });
}

}  // namespace
}  // namespace sandbox

int main(int argc, char **argv) { return sandbox::run(argc, argv); }
