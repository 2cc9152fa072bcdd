// Bring-up, switches and shut-down of the virtual board: each one command
// run on the board through its control channel.
#include "sim/panel/virtual_board.h"

#include <sys/stat.h>

#include <cstdlib>

#include "sim/panel/board_log_feed.h"
#include "sim/panel/monotonic.h"

namespace panel {

namespace {

using namespace std::chrono_literals;

constexpr auto kBootTimeout = std::chrono::minutes(5);
constexpr auto kCommandTimeout = 90s;
constexpr auto kRelinkTimeout = 300ms;
constexpr uint64_t kSilenceMs = 5000;  // panel-feed reports ten times as often
constexpr uint64_t kReconnectMs = 2000;

// init starts both daemons; they write their pid files shortly after.
constexpr char kWaitForDaemons[] =
    "i=0; until [ -s /var/run/buttond.pid ] && [ -s /var/run/uplinkd.pid ]; do"
    " [ $i -ge 600 ] && exit 1; usleep 100000; i=$((i + 1)); done";
constexpr char kStartFeed[] = "panel-feed </dev/null >/dev/console 2>&1 &";

// Splits off the first line of text.
std::string next_line(std::string_view &text) {
  const size_t end = std::min(text.find('\n'), text.size());
  std::string line(text.substr(0, end));
  text.remove_prefix(std::min(end + 1, text.size()));
  return line;
}

off_t file_size(const std::string &path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_size : 0;
}

}  // namespace

VirtualBoard::VirtualBoard(board::VmOptions options, EventSink events, bool with_radio_peers)
    : options_(std::move(options)), events_(std::move(events)) {
  for (const char *name : kShownStatusFiles) status_.files.emplace_back(name, std::nullopt);
  for (const char *name : {"buttond", "uplinkd"}) status_.daemons.push_back({name});
  if (with_radio_peers) {
    peers_.emplace([this](const std::string &command) { return run(command, kCommandTimeout); },
                   events_);
  }
}

std::string VirtualBoard::start() {
  if (!vm_.boot(options_, kBootTimeout)) return "the board did not boot: " + vm_.error();
  return bring_up();
}

void VirtualBoard::stop() {
  stopped_ = true;
  vm_.power_off();
}

std::string VirtualBoard::bring_up() {
  if (std::string error = act("the daemons did not start", kWaitForDaemons); !error.empty()) {
    return error;
  }
  if (console_start_ == 0) console_start_ = file_size(vm_.console_path());
  last_status_ms_ = now_ms();
  if (std::string error = act("panel-feed", kStartFeed); !error.empty()) return error;
  // The switches as the panel has them (a boot leaves the cable in, the
  // gateway answering and no upstream connection), the mode as stored.
  const std::string switches = std::string("wan-cable ") + (wan_ ? "in" : "out") + " && gateway " +
                               (internet_ ? "alive" : "dead") +
                               " && boardctl wifi-connstatus apcli0 " + (upstream_ ? "1" : "0");
  if (std::string error = act("switches", switches); !error.empty()) return error;
  modes_ = fetch_modes();
  mode_ = modes_.operation_mode == kRepeaterMode ? Mode::repeater : Mode::router;
  return {};
}

board::Reply VirtualBoard::run(const std::string &command, std::chrono::milliseconds timeout) {
  if (down_) return {};
  board::Reply reply = vm_.link().run(command, timeout);
  if (!reply.answered && vm_.link().broken()) {
    down_ = true;
    for (DaemonView &daemon : status_.daemons) daemon.running = false;
    if (peers_) peers_->forget();  // a boot starts none of them
    events_("board: gone, rebooting");
  }
  return reply;
}

void VirtualBoard::update() {
  if (stopped_) return;
  if (down_) return reconnect();
  // A silent board is asked once; a broken link means it went away.
  if (now_ms() - last_status_ms_ > kSilenceMs) {
    run("true", 3s);
    last_status_ms_ = now_ms();
  }
  if (peers_ && !down_) peers_->poll(now_ms());
}

void VirtualBoard::reconnect() {
  const uint64_t now = now_ms();
  if (now < next_reconnect_ms_) return;
  next_reconnect_ms_ = now + kReconnectMs;
  if (!vm_.relink(kRelinkTimeout)) return;
  down_ = false;
  events_("board: up again");
  if (std::string error = bring_up(); !error.empty()) events_("board: " + error);
}

std::string VirtualBoard::act(const std::string &what, const std::string &command) {
  const board::Reply reply = run(command, kCommandTimeout);
  if (!reply.answered) return what + ": the board does not answer";
  if (reply.status == 0) return {};
  std::string_view output = reply.output;
  const std::string first = next_line(output);
  return what + ": " + (first.empty() ? "status " + std::to_string(reply.status) : first);
}

void VirtualBoard::take_status(std::string_view line) {
  last_status_ms_ = now_ms();
  while (!line.empty()) {
    const size_t end = std::min(line.find(' '), line.size());
    const std::string_view field = line.substr(0, end);
    line.remove_prefix(std::min(end + 1, line.size()));
    const size_t equals = field.find('=');
    const std::string_view name = field.substr(0, equals);
    for (auto &[file, value] : status_.files) {
      if (file == name) {
        value = equals == std::string_view::npos
                    ? std::nullopt
                    : std::optional(std::string(field.substr(equals + 1)));
      }
    }
    for (DaemonView &daemon : status_.daemons) {
      if (daemon.name != name || equals == std::string_view::npos) continue;
      const int pid = std::atoi(std::string(field.substr(equals + 1)).c_str());
      if (daemon.running && pid != daemon.pid) events_("board: " + daemon.name + " ended");
      if (pid > 0 && (!daemon.running || pid != daemon.pid)) {
        events_("board: " + daemon.name + " started");
      }
      daemon.running = pid > 0;
      daemon.pid = pid;
    }
  }
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
  return act("WPS result", std::string("boardctl wifi-status ") + (low ? "ra0" : "rai0") +
                               sequence + " && boardctl wifi-status " +
                               (low ? "apcli0" : "apclii0") + sequence);
}

std::string VirtualBoard::set_mode(Mode mode) {
  const bool repeater = mode == Mode::repeater;
  // A repeater has its 2.4 GHz upstream client enabled, so the uplink
  // decision follows that client's connection.
  const std::string store = std::string(repeater ? "nvram set 0 ApCliEnable 1 && " : "") +
                            "nvram set 0 OperationMode " + (repeater ? kRepeaterMode : "1");
  if (std::string error = act("configuration store", store); !error.empty()) return error;
  mode_ = mode;
  modes_ = fetch_modes();
  return act("restarting the daemons",
             "/etc/init.d/S60buttond restart && /etc/init.d/S61uplinkd restart");
}

std::string VirtualBoard::set_time_divisor(unsigned divisor) {
  return divisor == 1 ? std::string() : "the virtual board runs in real time: no time divisor";
}

std::string VirtualBoard::press(unsigned samples) {
  return act("button", "boardctl button " + press_script(samples));
}

std::string VirtualBoard::hold(bool pressed) {
  return act("button", "boardctl button " + hold_script(pressed));
}

StoreModes VirtualBoard::read_modes() { return modes_; }

StoreModes VirtualBoard::fetch_modes() {
  StoreModes modes;
  const board::Reply reply =
      run("nvram get 0 OperationMode 2>/dev/null; echo @@; nvram get 0 MeshMode 2>/dev/null", 10s);
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
