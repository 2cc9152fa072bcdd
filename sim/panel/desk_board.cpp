// Bring-up, switches and shut-down of the desk simulator, through the
// fake drivers' control library, the configuration store tool and the
// status files.
#include "sim/panel/desk_board.h"

#include <sys/stat.h>
#include <unistd.h>

#include "sim/fakehwctl/control.h"
#include "sim/panel/monotonic.h"
#include "sim/panel/status_files.h"

namespace panel {

namespace {

constexpr char kOutputDir[] = "/run/panel";  // the children's standard output and error
constexpr char kMonitor[] = "/sim/bin/monitor";
constexpr char kMonitorPid[] = "/var/run/monitor.pid";
constexpr char kGateway[] = "192.168.77.1";
constexpr char kLinkFile[] = "/tmp/Link";
constexpr char kInternetFile[] = "/tmp/internetStatus";
constexpr char kStatusDir[] = "/tmp/";
constexpr int kMonitorStartMs = 10000;

std::string output_of(const std::string &name) {
  return std::string(kOutputDir) + "/" + name + ".log";
}

std::string failed(std::string_view what, const fakehwctl::Result &result) {
  return result ? std::string() : std::string(what) + ": " + result.error;
}

std::string flag(bool on) { return on ? "1" : "0"; }

std::string first_line(const std::string &text) { return text.substr(0, text.find('\n')); }

}  // namespace

DeskBoard::DeskBoard(Programs programs, EventSink events)
    : programs_(std::move(programs)),
      events_(std::move(events)),
      monitor_("monitor", {kMonitor}, output_of("monitor")),
      buttond_("buttond", {programs_.buttond}, output_of("buttond")),
      uplinkd_("uplinkd", {programs_.uplinkd}, output_of("uplinkd")) {}

std::string DeskBoard::start() {
  mkdir(kOutputDir, 0755);
  if (std::string error = failed("WAN link", fakehwctl::set_wan_link(wan_)); !error.empty()) {
    return error;
  }
  if (std::string error =
          failed("upstream", fakehwctl::set_wifi_connstatus("apcli0", flag(upstream_)));
      !error.empty()) {
    return error;
  }
  if (!write_status_file(kInternetFile, flag(internet_))) return "cannot write /tmp/internetStatus";
  mode_ = read_modes().operation_mode == kRepeaterMode ? Mode::repeater : Mode::router;
  if (std::string error = publish_link(); !error.empty()) return error;
  if (run_tool({"ip", "route", "replace", "default", "via", kGateway}) != 0) {
    return "cannot add the default route via " + std::string(kGateway);
  }

  unlink(kMonitorPid);
  if (!monitor_.start()) return "cannot start " + std::string(kMonitor);
  for (uint64_t deadline = now_ms() + kMonitorStartMs;
       read_status_file(kMonitorPid).value_or("").empty(); pause_ms(20)) {
    if (now_ms() > deadline) return "the monitor wrote no pid file";
  }
  if (std::string error = start_daemon(buttond_); !error.empty()) return error;
  return start_daemon(uplinkd_);
}

void DeskBoard::stop() {
  for (Child *child : {&buttond_, &uplinkd_, &monitor_}) child->stop();
}

std::string DeskBoard::start_daemon(Child &child) {
  if (!child.start()) return "cannot start " + child.name();
  events_("board: " + child.name() + " started");
  return {};
}

std::string DeskBoard::publish_link() {
  const bool link = mode_ == Mode::repeater ? upstream_ : wan_;
  return write_status_file(kLinkFile, flag(link)) ? std::string() : "cannot write /tmp/Link";
}

std::string DeskBoard::set_wan(bool up) {
  wan_ = up;
  if (std::string error = failed("WAN link", fakehwctl::set_wan_link(up)); !error.empty()) {
    return error;
  }
  return publish_link();
}

std::string DeskBoard::set_upstream(bool connected) {
  upstream_ = connected;
  if (std::string error =
          failed("upstream", fakehwctl::set_wifi_connstatus("apcli0", flag(connected)));
      !error.empty()) {
    return error;
  }
  return publish_link();
}

std::string DeskBoard::set_internet(bool reachable) {
  internet_ = reachable;
  return write_status_file(kInternetFile, flag(reachable)) ? std::string()
                                                           : "cannot write /tmp/internetStatus";
}

std::string DeskBoard::end_wps(Band band, WpsResult result) {
  // The access point and the upstream client of the band report the result
  // once, then the driver is idle again.
  const std::string sequence = std::to_string(wps_status_code(result)) + " 0";
  const bool low = band == Band::ghz24;
  for (const char *ifname : {low ? "ra0" : "rai0", low ? "apcli0" : "apclii0"}) {
    if (std::string error = failed(ifname, fakehwctl::set_wifi_status(ifname, sequence));
        !error.empty()) {
      return error;
    }
  }
  return {};
}

std::string DeskBoard::set_mode(Mode mode) {
  const bool repeater = mode == Mode::repeater;
  // A repeater has its 2.4 GHz upstream client enabled, so the uplink
  // decision follows that client's connection.
  if (repeater && run_tool({programs_.nvram, "set", "0", "ApCliEnable", "1"}) != 0) {
    return "cannot set ApCliEnable in the configuration store";
  }
  if (run_tool({programs_.nvram, "set", "0", "OperationMode", repeater ? kRepeaterMode : "1"}) !=
      0) {
    return "cannot set OperationMode in the configuration store";
  }
  mode_ = mode;
  buttond_.stop();
  uplinkd_.stop();
  if (std::string error = publish_link(); !error.empty()) return error;
  if (std::string error = start_daemon(buttond_); !error.empty()) return error;
  return start_daemon(uplinkd_);
}

std::string DeskBoard::set_time_divisor(unsigned divisor) {
  if (std::string error = failed("time divisor", fakehwctl::set_time_divisor(divisor));
      !error.empty()) {
    return error;
  }
  time_divisor_ = divisor;
  return {};
}

std::string DeskBoard::press(unsigned samples) {
  return failed("button", fakehwctl::set_button_script(press_script(samples)));
}

std::string DeskBoard::hold(bool pressed) {
  return failed("button", fakehwctl::set_button_script(hold_script(pressed)));
}

void DeskBoard::update() {
  for (Child *child : {&monitor_, &buttond_, &uplinkd_}) {
    if (!child->reap()) continue;
    const int status = child->exit_status();
    events_("board: " + child->name() +
            (status > 128 ? " ended by signal " + std::to_string(status - 128)
                          : " exited with status " + std::to_string(status)));
  }
}

StoreModes DeskBoard::read_modes() {
  StoreModes modes;
  run_tool({programs_.nvram, "get", "0", "OperationMode"}, &modes.operation_mode);
  run_tool({programs_.nvram, "get", "0", "MeshMode"}, &modes.mesh_mode);
  modes.operation_mode = first_line(modes.operation_mode);
  modes.mesh_mode = first_line(modes.mesh_mode);
  return modes;
}

BoardStatus DeskBoard::status() const {
  BoardStatus status;
  for (const char *name : kShownStatusFiles) {
    status.files.emplace_back(name, read_status_file(std::string(kStatusDir) + name));
  }
  for (const Child *child : {&buttond_, &uplinkd_}) {
    status.daemons.push_back({child->name(), child->running(), child->pid(), child->exit_status()});
  }
  return status;
}

std::unique_ptr<LogFeed> DeskBoard::log_feed() { return std::make_unique<FileLogFeed>(LogPaths{}); }

}  // namespace panel
