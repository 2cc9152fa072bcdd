// Bring-up, switches and shut-down of the virtual board: each one command
// run on the board through its control channel.
#include "virtual_board.h"

#include "board_log_feed.h"
#include "monotonic.h"

namespace panel {

namespace {

using namespace std::chrono_literals;

constexpr auto kBootTimeout = std::chrono::minutes(5);
constexpr auto kRelinkTimeout = 300ms;
constexpr uint64_t kRefreshMs = 500;
constexpr uint64_t kReconnectMs = 2000;

// init starts both daemons; they write their pid files shortly after.
constexpr char kWaitForDaemons[] =
    "i=0; until [ -s /var/run/buttond.pid ] && [ -s /var/run/uplinkd.pid ]; do"
    " [ $i -ge 600 ] && exit 1; usleep 100000; i=$((i + 1)); done";

// The driver's request log as a file beside the other logs, as on the desk:
// a shell holds /dev/boardlog open, and each cat reads what its shared
// offset has not yet passed (a read at the end returns 0, so cat ends).
constexpr char kStartRequestRelay[] =
    "setsid sh -c 'exec 3</dev/boardlog; while :; do cat <&3; usleep 100000; done'"
    " </dev/null >>/run/sim/requests.log 2>/dev/null &";

constexpr const char *kDaemons[] = {"buttond", "uplinkd"};

// One line per status file ("=FIRST LINE", "-" when missing), then one per
// daemon (its pid, 0 when it does not run), all read by shell built-ins.
std::string status_command() {
  std::string files;
  for (const char *name : kShownStatusFiles) files += std::string(" ") + name;
  std::string daemons;
  for (const char *name : kDaemons) daemons += std::string(" ") + name;
  return "for f in" + files +
         "; do l=; if read -r l < /tmp/$f; then echo \"=$l\"; elif [ -e /tmp/$f ]; then echo \"=$l\";"
         " else echo -; fi; done 2>/dev/null; for d in" +
         daemons + "; do p=; read -r p < /var/run/$d.pid; kill -0 \"$p\" && echo \"$p\" || echo 0; done 2>/dev/null";
}

// Splits off the first line of text.
std::string next_line(std::string_view &text) {
  const size_t end = std::min(text.find('\n'), text.size());
  std::string line(text.substr(0, end));
  text.remove_prefix(std::min(end + 1, text.size()));
  return line;
}

}  // namespace

VirtualBoard::VirtualBoard(board::VmOptions options, EventSink events)
    : options_(std::move(options)), events_(std::move(events)) {
  for (const char *name : kDaemons) status_.daemons.push_back({name});
}

std::string VirtualBoard::start() {
  if (!vm_.boot(options_, kBootTimeout)) return "the board did not boot: " + vm_.error();
  boots_ = 1;
  if (std::string error = bring_up(); !error.empty()) return error;
  if (std::string error = act("switches", "wan-cable in && gateway alive && boardctl wifi-connstatus apcli0 1");
      !error.empty())
    return error;
  mode_ = read_modes().operation_mode == kRepeaterMode ? Mode::repeater : Mode::router;
  return {};
}

void VirtualBoard::stop() { vm_.power_off(); }

std::string VirtualBoard::bring_up() {
  if (std::string error = act("the daemons did not start", kWaitForDaemons); !error.empty()) return error;
  if (std::string error = act("request log relay", kStartRequestRelay); !error.empty()) return error;
  refresh();
  return {};
}

board::Reply VirtualBoard::run(const std::string &command, std::chrono::milliseconds timeout) {
  if (down_ && !reconnect()) return {};
  board::Reply reply = vm_.link().run(command, timeout);
  if (!reply.answered && vm_.link().broken()) {
    down_ = true;
    for (DaemonView &daemon : status_.daemons) daemon.running = false;
    events_("board: gone, rebooting");
  }
  return reply;
}

bool VirtualBoard::reconnect() {
  const uint64_t now = now_ms();
  if (now < next_reconnect_ms_) return false;
  next_reconnect_ms_ = now + kReconnectMs;
  if (!vm_.relink(kRelinkTimeout)) return false;
  down_ = false;
  ++boots_;
  events_("board: up again");
  if (std::string error = bring_up(); !error.empty()) events_("board: " + error);
  return true;
}

std::string VirtualBoard::act(const std::string &what, const std::string &command) {
  const board::Reply reply = run(command, 90s);
  if (!reply.answered) return what + ": the board does not answer";
  if (reply.status == 0) return {};
  std::string_view output = reply.output;
  const std::string first = next_line(output);
  return what + ": " + (first.empty() ? "status " + std::to_string(reply.status) : first);
}

std::string VirtualBoard::set_wan(bool up) {
  wan_ = up;
  return act("WAN link", up ? "wan-cable in" : "wan-cable out");
}

std::string VirtualBoard::set_upstream(bool connected) {
  upstream_ = connected;
  return act("upstream", std::string("boardctl wifi-connstatus apcli0 ") + (connected ? "1" : "0"));
}

std::string VirtualBoard::set_internet(bool reachable) {
  internet_ = reachable;
  return act("internet", reachable ? "gateway alive" : "gateway dead");
}

std::string VirtualBoard::end_wps(Band band, WpsResult result) {
  // The access point and the upstream client of the band report the result
  // once, then the driver is idle again.
  const std::string sequence = " " + std::to_string(wps_status_code(result)) + " 0";
  const bool low = band == Band::ghz24;
  return act("WPS result", std::string("boardctl wifi-status ") + (low ? "ra0" : "rai0") + sequence +
                               " && boardctl wifi-status " + (low ? "apcli0" : "apclii0") + sequence);
}

std::string VirtualBoard::set_mode(Mode mode) {
  const bool repeater = mode == Mode::repeater;
  // A repeater has its 2.4 GHz upstream client enabled, so the uplink
  // decision follows that client's connection.
  const std::string store = std::string(repeater ? "nvram set 0 ApCliEnable 1 && " : "") +
                            "nvram set 0 OperationMode " + (repeater ? kRepeaterMode : "1");
  if (std::string error = act("configuration store", store); !error.empty()) return error;
  mode_ = mode;
  const std::string error =
      act("restarting the daemons", "/etc/init.d/S60buttond restart && /etc/init.d/S61uplinkd restart");
  refresh();
  return error;
}

std::string VirtualBoard::set_time_divisor(unsigned divisor) {
  return divisor == 1 ? std::string() : "the virtual board runs in real time: no time divisor";
}

std::string VirtualBoard::press(unsigned samples) { return act("button", "boardctl button " + press_script(samples)); }

std::string VirtualBoard::hold(bool pressed) { return act("button", "boardctl button " + hold_script(pressed)); }

void VirtualBoard::update() {
  if (down_) reconnect();
  if (!down_ && now_ms() >= next_refresh_ms_) refresh();
}

void VirtualBoard::refresh() {
  next_refresh_ms_ = now_ms() + kRefreshMs;
  const board::Reply reply = run(status_command(), 10s);
  if (!reply.answered) return;
  std::string_view output = reply.output;
  status_.files.clear();
  for (const char *name : kShownStatusFiles) {
    const std::string line = next_line(output);
    status_.files.emplace_back(name, line.starts_with('=') ? std::optional(line.substr(1)) : std::nullopt);
  }
  for (DaemonView &daemon : status_.daemons) {
    const int pid = std::atoi(next_line(output).c_str());
    if (pid != daemon.pid && daemon.running) events_("board: " + daemon.name + " ended");
    if (pid > 0 && (pid != daemon.pid || !daemon.running)) events_("board: " + daemon.name + " started");
    daemon.running = pid > 0;
    daemon.pid = pid;
  }
}

StoreModes VirtualBoard::read_modes() {
  const board::Reply reply =
      run("nvram get 0 OperationMode 2>/dev/null; echo @@; nvram get 0 MeshMode 2>/dev/null", 10s);
  StoreModes modes;
  if (!reply.answered) return modes;
  const std::string_view output = reply.output;
  const size_t split = output.find("@@\n");
  if (split == std::string_view::npos) return modes;
  std::string_view first = output.substr(0, split), second = output.substr(split + 3);
  modes.operation_mode = next_line(first);
  modes.mesh_mode = next_line(second);
  return modes;
}

std::unique_ptr<LogFeed> VirtualBoard::log_feed() { return std::make_unique<BoardLogFeed>(*this); }

}  // namespace panel
