// The testbed, the tests' view of the simulated board: the files the board
// writes, the fake drivers' controls, the network of the sandbox, and processes.
// Every test binary runs inside the sandbox (sim/sandbox), with the fake
// driver library preloaded, so these paths are the sandbox's own.
#ifndef TESTS_SUPPORT_TESTBED_H
#define TESTS_SUPPORT_TESTBED_H

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace testbed {

// Written by the sandbox's console reader: every byte sent to /dev/console.
inline constexpr char kConsoleLog[] = "/run/sim/console.log";
// One line per stub command run: its name and arguments joined by blanks.
inline constexpr char kCommandsLog[] = "/run/sim/commands.log";
// One line per fake driver request (formats in sim/README.md).
inline constexpr char kRequestsLog[] = "/run/sim/requests.log";
// One line per SIGHUP the fake monitor received.
inline constexpr char kMonitorHups[] = "/run/sim/monitor.hups";

// Paths of the programs under test (built for the target being tested).
std::string program(std::string_view name);  // "buttond", "uplinkd", "nvram"

// A fresh board: stops processes started through spawn(), empties /tmp,
// /var/run and the logs, restores the fake drivers' defaults (button
// released, nothing failing, real time), the default configuration store,
// and the default network (all router interfaces up, no default route).
void reset();

// Files.
std::string read_file(const std::string &path);  // "" when missing
bool file_exists(const std::string &path);
void write_file(const std::string &path, std::string_view content);
void remove_file(const std::string &path);
std::vector<std::string> read_lines(const std::string &path);
// Descriptors this process has open (the count a leak would raise).
unsigned open_descriptors();
// Replaces the committed file of configuration set 0, 1 or 2 with bytes no
// store writes: the next read of that set in any process reports it on
// standard error ("... is damaged ..."), which shows that the set was read.
void damage_store_set(int set);

// Waits (real time, unaffected by time scaling) until cond() is true.
bool wait_for(const std::function<bool()> &cond, int timeout_ms = 20000);
bool wait_for_text(const std::string &path, std::string_view text, int timeout_ms = 20000);
bool wait_for_lines(const std::string &path, size_t count, int timeout_ms = 20000);

std::string console();
std::vector<std::string> commands();
// Fake driver log lines that start with prefix ("" = all).
std::vector<std::string> requests(std::string_view prefix = "");
void clear_logs();

// Fake drivers.
void set_time_divisor(unsigned divisor);  // sleeps and timers run divisor times faster
// Button levels per read of pin 1's bank: "1x3 0x20 1" = 3 released reads,
// 20 pressed, then released for ever (the last level repeats).
void button_script(std::string_view script);
unsigned button_reads();         // reads consumed since the script was set
void button_hold(bool pressed);  // the level once the script is used up
void gpio_missing(bool missing);
// Levels of the other pins of a bank (0 = pins 0-23, ... 3 = pin 72); every
// pin is high by default. Pin 1 of bank 0 always follows the button.
void gpio_bank_levels(unsigned bank, unsigned word);
// Requests the fake GPIO driver refuses: any of "dir", "read", "led",
// "irq", "register", blank-separated; "" refuses none.
void gpio_fail(std::string_view requests);

struct WscCredential {  // Profile[0] of a wsc_profile
  std::string ssid;
  unsigned auth_type = 0, encr_type = 0;
  std::string key;  // raw key bytes
  unsigned key_len = 0;
  unsigned key_index = 0;
};
struct WscConfiguredValue {
  std::string ssid;
  unsigned auth_mode = 0, encryp_type = 0, key_index = 0;
  std::string key;
  unsigned ssid_len = 0;
};
// Values answered by the fake wireless driver for one interface.
void wifi_status(const std::string &ifname, std::string_view sequence);  // "0 0 34"
void wifi_profile(const std::string &ifname, const WscCredential &credential);
void wifi_configured_value(const std::string &ifname, const WscConfiguredValue &value);
void wifi_channel(const std::string &ifname, unsigned channel);
void wifi_bssid(const std::string &ifname,
                std::string_view sequence);  // "FF:FF:FF:FF:FF:FF 00:11:22:33:44:55"
// macs: "AA:BB:CC:DD:EE:FF"; reported_count, when not 0, is the entry count
// the driver claims (more than the 64 its record holds, say).
void wifi_acl(const std::string &ifname, const std::vector<std::string> &macs,
              unsigned reported_count = 0);
void wifi_connstatus(const std::string &ifname, std::string_view answer);  // "1", "0", "" ...
// Refuse requests on ifname: "oid=0x0751", "wsc-profile", "connstatus", "all", "" = none.
void wifi_fail(const std::string &ifname, std::string_view requests);

void wan_link(bool up);  // bit 0 of switch register 0x113408
void rdm_missing(bool missing);
void rdm_fail(std::string_view requests);  // "0x6B0E", "0x6B03", "" = none

// Network of the sandbox.
void interface_up(const std::string &ifname, bool up);
void interface_delete(const std::string &ifname);
void set_mac(const std::string &ifname, std::string_view mac);
// Replaces /proc/net/route's default route: via a gateway that answers ping
// (gateway "" = a default route without gateway); no_default_route() drops it.
void default_route(std::string_view gateway);
void no_default_route();
inline constexpr char kGateway[] = "192.168.77.1";

// Fake monitor daemon (writes /var/run/monitor.pid, counts SIGHUP).
pid_t start_monitor();
unsigned monitor_hups();

// Processes started inside the sandbox; stdout and stderr go to files.
struct Process {
  pid_t pid = -1;
  std::string stdout_path, stderr_path;
  std::string out() const;
  std::string err() const;
  bool running() const;
  // Waits for the exit; returns the exit status, 128 + signal, or -1 on timeout.
  int wait(int timeout_ms = 20000);
  void signal(int sig) const;
};
Process spawn(const std::string &path, const std::vector<std::string> &args = {});
void stop_all();  // kills every process started through spawn()

// Runs a shell command in the sandbox, returns its exit status.
int sh(const std::string &command);

}  // namespace testbed

#endif
