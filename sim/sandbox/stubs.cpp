// Stub layout: sim/stubs is bound at /sim/stubs; /sim/bin and the CGI path
// are links to its one recording script, which takes its name from the
// path it was run by. Host commands are shadowed by binding the script over
// the file each path resolves to.
#include "sim/sandbox/stubs.h"

#include <limits.h>
#include <stdlib.h>

#include <array>
#include <set>

#include "sim/sandbox/fs_steps.h"

namespace sandbox {

namespace {

constexpr char kStubsDir[] = "/sim/stubs";
constexpr char kRecordingStub[] = "/sim/stubs/record";
constexpr char kWirelessCgiDir[] = "/etc_ro/lighttpd/www/cgi-bin";

constexpr std::array kStubbedCommands = {
    "iwpriv",           "reboot",       "reset",         "halt",     "poweroff",
    "shutdown",         "killall",      "udhcpc",        "ifconfig", "ntp.sh",
    "config-udhcpd.sh", "mesh_load.sh", "mesh_unload.sh"};

// Commands a host may really have; a run of the real one could reach the host.
constexpr std::array kShadowedHostCommands = {
    "reboot", "reset", "halt", "poweroff", "shutdown", "iwpriv", "ifconfig", "killall", "udhcpc"};
constexpr std::array kHostCommandDirs = {"/usr/sbin", "/usr/bin", "/sbin", "/bin"};

}  // namespace

void install_stubs(const std::string &root) {
  make_directories(root + kStubsDir);
  bind(SIM_STUBS_DIR, root + kStubsDir);
  make_directories(root + "/sim/bin");
  for (const char *name : kStubbedCommands) make_symlink(kRecordingStub, root + "/sim/bin/" + name);
  make_symlink(std::string(kStubsDir) + "/monitor", root + "/sim/bin/monitor");
  make_directories(root + kWirelessCgiDir);
  make_symlink(kRecordingStub, root + kWirelessCgiDir + "/wireless.cgi");
}

void shadow_host_commands() {
  std::set<std::string> shadowed;  // several paths can resolve to one file
  for (const char *dir : kHostCommandDirs) {
    for (const char *name : kShadowedHostCommands) {
      char real[PATH_MAX];
      const std::string path = std::string(dir) + "/" + name;
      if (realpath(path.c_str(), real) && shadowed.insert(real).second) bind(kRecordingStub, real);
    }
  }
}

}  // namespace sandbox
