// The sandbox as every test sees it from inside: console capture, recording
// stubs, the router's interfaces and gateway, fresh run-time directories,
// and the sandbox's init as PID 1. Plain POSIX calls, so it checks the board alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr char kConsoleLog[] = "/run/sim/console.log";
constexpr char kCommandsLog[] = "/run/sim/commands.log";
constexpr char kMonitorHups[] = "/run/sim/monitor.hups";

std::string read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Lines read_lines(const std::string &path) {
  Lines lines;
  std::istringstream in(read_file(path));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void truncate_file(const char *path) { std::ofstream(path, std::ios::trunc); }

// Polls (real time) until cond() holds or five seconds pass.
template <typename Condition>
bool eventually(Condition cond) {
  timespec start, now;
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    if (cond()) return true;
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (now.tv_sec - start.tv_sec > 5) return false;
    const timespec pause = {0, 10 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
}

int shell(const std::string &command) {
  const int status = system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts argv with the test's environment; the child execs at once.
pid_t start(const std::vector<const char *> &argv) {
  std::vector<char *> args;
  for (const char *arg : argv) args.push_back(const_cast<char *>(arg));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    execv(args[0], args.data());
    _exit(127);
  }
  return pid;
}

// The wait status of pid once it ends, or -1 if it is still running after
// five seconds (then it is killed, so a failing test never hangs).
int end_status(pid_t pid) {
  int status = 0;
  if (eventually([&] { return waitpid(pid, &status, WNOHANG) == pid; })) return status;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

std::string process_name(pid_t pid) {
  std::string name = read_file("/proc/" + std::to_string(pid) + "/comm");
  return name.empty() ? name : name.substr(0, name.size() - 1);
}

// Field 4 of /proc/PID/stat (after the parenthesised name).
pid_t parent_of(pid_t pid) {
  const std::string stat = read_file("/proc/" + std::to_string(pid) + "/stat");
  int parent = -1;
  sscanf(stat.c_str() + stat.rfind(')') + 1, " %*c %d", &parent);
  return parent;
}

// Mount point -> file system type, from /proc/self/mountinfo (the last
// mount on a point wins, as it is the one visible).
std::map<std::string, std::string> mounts() {
  std::map<std::string, std::string> types;
  for (const std::string &line : read_lines("/proc/self/mountinfo")) {
    std::istringstream fields(line);
    std::string id, parent, device, root, point;
    fields >> id >> parent >> device >> root >> point;
    const size_t separator = line.find(" - ");
    std::istringstream rest(line.substr(separator + 3));
    rest >> types[point];
  }
  return types;
}

struct InterfaceState {
  bool exists = false, up = false;
  std::string mac;
};

InterfaceState interface_state(const char *name) {
  InterfaceState state;
  const int sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ifreq request = {};
  snprintf(request.ifr_name, sizeof request.ifr_name, "%s", name);
  if (ioctl(sock, SIOCGIFFLAGS, &request) == 0) {
    state.exists = true;
    state.up = request.ifr_flags & IFF_UP;
    if (ioctl(sock, SIOCGIFHWADDR, &request) == 0) {
      const auto *mac = reinterpret_cast<const unsigned char *>(request.ifr_hwaddr.sa_data);
      char text[18];
      snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3],
               mac[4], mac[5]);
      state.mac = text;
    }
  }
  close(sock);
  return state;
}

// --- console ---

TEST(SandboxConsole, EveryWriteToTheConsoleLandsInTheLogInOrder) {
  struct stat console;
  ASSERT_EQ(stat("/dev/console", &console), 0);
  EXPECT_TRUE(S_ISFIFO(console.st_mode)) << "\"w+\" would truncate a plain file";
  // Opened the way the firmware opens it: each open must keep what came before.
  for (const char *line : {"first line\n", "second line\n"}) {
    FILE *out = fopen("/dev/console", "w+");
    ASSERT_NE(out, nullptr);
    fputs(line, out);
    fclose(out);
  }
  EXPECT_TRUE(
      eventually([] { return read_file(kConsoleLog).find("second line\n") != std::string::npos; }));
  EXPECT_NE(read_file(kConsoleLog).find("first line\nsecond line\n"), std::string::npos);
}

// --- stubs ---

TEST(SandboxStubs, EachFirmwareCommandRecordsItsNameAndArguments) {
  const std::vector<std::pair<std::string, std::string>> runs = {
      {"iwpriv ra0 set WscStart=1", "iwpriv ra0 set WscStart=1"},
      {"reboot", "reboot"},
      {"reset", "reset"},
      {"halt", "halt"},
      {"poweroff", "poweroff"},
      {"udhcpc -i eth2 -s /sbin/udhcpc.sh", "udhcpc -i eth2 -s /sbin/udhcpc.sh"},
      {"ntp.sh", "ntp.sh"},
      {"config-udhcpd.sh -r 2", "config-udhcpd.sh -r 2"},
      {"mesh_load.sh   agent", "mesh_load.sh agent"},
      {"mesh_unload.sh", "mesh_unload.sh"},
      {"/etc_ro/lighttpd/www/cgi-bin/wireless.cgi 'wps_cancel ra0'", "wireless.cgi wps_cancel ra0"},
  };
  for (const auto &[command, recorded] : runs) {
    truncate_file(kCommandsLog);
    EXPECT_EQ(shell(command), 0) << command;
    EXPECT_EQ(read_lines(kCommandsLog), Lines{recorded}) << command;
  }
  EXPECT_EQ(shell("[ \"$(command -v iwpriv)\" = /sim/bin/iwpriv ]"), 0);
}

TEST(SandboxStubs, AbsolutePathsOfHostCommandsReachTheStub) {
  Lines ran;
  for (const char *dir : {"/usr/sbin", "/usr/bin", "/sbin", "/bin"}) {
    for (const char *name : {"reboot", "halt", "ifconfig", "killall"}) {
      const std::string path = std::string(dir) + "/" + name;
      if (access(path.c_str(), X_OK) != 0) continue;
      truncate_file(kCommandsLog);
      EXPECT_EQ(shell(path + " -q nothing-by-this-name"), 0) << path;
      EXPECT_EQ(read_lines(kCommandsLog), Lines{std::string(name) + " -q nothing-by-this-name"})
          << path;
      ran.push_back(path);
    }
  }
  if (ran.empty()) GTEST_SKIP() << "the host has none of these commands";
}

TEST(SandboxStubs, KillallSendsTheGivenSignalToProcessesOfThatName) {
  // Process names longer than 15 characters are cut short by the kernel.
  constexpr char kLongName[] = "a-sleeper-with-a-long-name";
  ASSERT_EQ(shell(std::string("cp /bin/sleep /run/") + kLongName), 0);
  struct Case {
    std::string options, name;
    int signal;
  };
  for (const Case &run : {Case{"-q -USR1", "sleep", SIGUSR1}, Case{"-SIGHUP", "sleep", SIGHUP},
                          Case{"", kLongName, SIGTERM}}) {
    const std::string path = run.name == "sleep" ? "/bin/sleep" : "/run/" + run.name;
    const pid_t sleeper = start({path.c_str(), "300"});
    ASSERT_TRUE(eventually([&] { return process_name(sleeper) == run.name.substr(0, 15); }));
    truncate_file(kCommandsLog);
    const std::string command =
        "killall " + run.options + (run.options.empty() ? "" : " ") + run.name;
    EXPECT_EQ(shell(command), 0);
    const int status = end_status(sleeper);
    ASSERT_TRUE(status != -1 && WIFSIGNALED(status)) << command;
    EXPECT_EQ(WTERMSIG(status), run.signal) << command;
    EXPECT_EQ(read_lines(kCommandsLog), Lines{command});
  }
}

TEST(SandboxStubs, IfconfigUpAndDownAreAppliedToTheInterface) {
  EXPECT_EQ(shell("ifconfig rai3 down"), 0);
  EXPECT_FALSE(interface_state("rai3").up);
  EXPECT_EQ(shell("ifconfig rai3 up"), 0);
  EXPECT_TRUE(interface_state("rai3").up);
  EXPECT_EQ(shell("ifconfig no-such-interface up"), 0);
}

TEST(SandboxStubs, FakeMonitorPublishesItsPidCountsHangupsAndEndsOnTerm) {
  truncate_file(kMonitorHups);
  const pid_t monitor = start({"/sim/bin/monitor"});
  ASSERT_TRUE(eventually(
      [&] { return read_file("/var/run/monitor.pid") == std::to_string(monitor) + "\n"; }));
  for (size_t hups = 1; hups <= 3; ++hups) {
    kill(monitor, SIGHUP);
    EXPECT_TRUE(eventually([&] { return read_lines(kMonitorHups).size() == hups; })) << hups;
  }
  kill(monitor, SIGTERM);
  const int status = end_status(monitor);
  EXPECT_TRUE(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// --- network ---

TEST(SandboxNetwork, RouterInterfacesAreUpWithTheirMacs) {
  const std::vector<std::pair<const char *, const char *>> interfaces = {
      {"ra0", "02:00:00:00:00:10"},     {"rai0", "02:00:00:00:00:20"},
      {"rax0", "02:00:00:00:00:30"},    {"apcli0", "02:00:00:00:00:11"},
      {"apclii0", "02:00:00:00:00:21"}, {"rai3", "02:00:00:00:00:23"},
      {"eth2", "02:00:00:00:00:02"}};
  for (const auto &[name, mac] : interfaces) {
    const InterfaceState state = interface_state(name);
    EXPECT_TRUE(state.exists && state.up) << name;
    EXPECT_EQ(state.mac, mac) << name;
  }
  EXPECT_TRUE(interface_state("lo").up);
  EXPECT_TRUE(interface_state("wan0").up);
}

TEST(SandboxNetwork, GatewayAnswersPingAndNoDefaultRouteIsSet) {
  EXPECT_EQ(shell("ping -c 1 -W 5 192.168.77.1 >/dev/null"), 0);
  for (const std::string &line : read_lines("/proc/net/route")) {
    std::istringstream fields(line);
    std::string interface, destination;
    fields >> interface >> destination;
    EXPECT_NE(destination, "00000000") << line;
  }
}

// --- file systems and processes ---

TEST(SandboxFilesystem, RunTimeDirectoriesAreTheSandboxsOwn) {
  const auto types = mounts();
  for (const char *point : {"/", "/tmp", "/run", "/var", "/dev", "/dev/shm"}) {
    EXPECT_EQ(types.count(point) ? types.at(point) : "", "tmpfs") << point;
  }
  EXPECT_EQ(types.at("/proc"), "proc");
  EXPECT_EQ(types.at("/dev/pts"), "devpts");
  EXPECT_EQ(shell("[ -z \"$(ls -A /tmp)\" ]"), 0) << "a fresh /tmp is empty";

  struct stat var_run, run;
  ASSERT_EQ(stat("/var/run", &var_run), 0);
  ASSERT_EQ(stat("/run", &run), 0);
  EXPECT_EQ(var_run.st_ino, run.st_ino);
  EXPECT_EQ(shell("[ -d /var/lock ] && [ -d /var/lib ] && [ -d /run/sim/hw ] && [ -f "
                  "/run/sim/requests.log ]"),
            0);
}

TEST(SandboxProcesses, ThisTestIsAChildOfTheSandboxInit) {
  EXPECT_EQ(getppid(), 1);
  EXPECT_EQ(process_name(1), "sandbox");
  EXPECT_EQ(parent_of(1), 0) << "PID 1 has no parent inside its namespace";
}

TEST(SandboxProcesses, ProgramsGetTheBoardEnvironment) {
  EXPECT_STREQ(getenv("PATH"), "/sim/bin:/usr/sbin:/usr/bin:/sbin:/bin");
  EXPECT_STREQ(getenv("QEMU_LD_PREFIX"), "/usr/mipsel-linux-gnu");
  ASSERT_NE(getenv("ASAN_OPTIONS"), nullptr);
  EXPECT_NE(std::string(getenv("ASAN_OPTIONS")).find("verify_asan_link_order=0"),
            std::string::npos);
  EXPECT_STREQ(getenv("LD_PRELOAD"), "/sim/preload/$LIB/libfakehw.so");
#if defined(__x86_64__)
  constexpr char kLoaded[] = "/sim/preload/lib/x86_64-linux-gnu/libfakehw.so";
#else
  constexpr char kLoaded[] = "/sim/preload/lib/mipsel-linux-gnu/libfakehw.so";
#endif
  EXPECT_NE(read_file("/proc/self/maps").find(kLoaded), std::string::npos);
}

}  // namespace
