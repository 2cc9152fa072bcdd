// Main loop of the interactive panel: read keys, apply them, follow the
// logs, redraw; the board is stopped and the terminal restored on every
// way out.
#include "sim/panel/interactive.h"

#include <cstdio>
#include <deque>

#include "sim/panel/button_keys.h"
#include "sim/panel/monotonic.h"
#include "sim/panel/observer.h"
#include "sim/panel/quit_signals.h"
#include "sim/panel/radio_keys.h"
#include "sim/panel/screen.h"
#include "sim/panel/terminal.h"

namespace panel {

namespace {

constexpr int kFrameMs = 66;
constexpr uint64_t kStoreReadMs = 2000;
constexpr size_t kTailLines = 64;

struct WpsKey {
  char key;
  Band band;
  WpsResult result;
  const char *done;
};
constexpr WpsKey kWpsKeys[] = {
    {'s', Band::ghz24, WpsResult::success, "WPS 2.4 GHz: success"},
    {'f', Band::ghz24, WpsResult::failure, "WPS 2.4 GHz: failure"},
    {'o', Band::ghz24, WpsResult::overlap, "WPS 2.4 GHz: overlap"},
    {'S', Band::ghz5, WpsResult::success, "WPS 5 GHz: success"},
    {'F', Band::ghz5, WpsResult::failure, "WPS 5 GHz: failure"},
    {'O', Band::ghz5, WpsResult::overlap, "WPS 5 GHz: overlap"},
};

void keep_tail(std::deque<std::string> &lines, std::string_view line) {
  lines.emplace_back(line);
  if (lines.size() > kTailLines) lines.pop_front();
}

class Panel {
 public:
  Panel(const BoardMaker &make_board, Terminal &terminal)
      : terminal_(terminal),
        board_(make_board([this](std::string_view event) { message_ = event; })),
        observer_(board_->log_feed()) {}

  int run();

 private:
  // Applies one key; false for quit.
  bool key(char c, uint64_t now);
  void button(const ButtonCommand &command);
  void report(const std::string &error, const std::string &done);
  void draw(uint64_t now);

  Terminal &terminal_;
  std::unique_ptr<Board> board_;
  Observer observer_;
  ButtonKeys keys_;
  StoreModes store_;
  std::deque<std::string> console_, commands_;
  std::string message_;
  uint64_t started_ = now_ms();
};

int Panel::run() {
  message_ = "starting the board...";
  draw(now_ms());
  if (std::string error = board_->start(); !error.empty()) {
    board_->stop();
    terminal_.close();  // so that the message stays readable on the main screen
    std::fprintf(stderr, "panel: %s\n", error.c_str());
    return 1;
  }
  uint64_t next_store_read = 0, next_frame = 0;
  for (bool going = true; going && !quit_requested();) {
    const uint64_t before = now_ms();
    char input[64];
    const long n = terminal_.read_keys(input, sizeof input,
                                       next_frame > before ? int(next_frame - before) : 0);
    if (n < 0) break;
    const uint64_t now = now_ms();
    for (long i = 0; i < n && going; ++i) {
      if (input[i] == '\x1b') {  // Escape clears the number; the rest of a sequence is skipped
        keys_.clear_entry();
        break;
      }
      going = key(input[i], now);
    }
    button(keys_.tick(now));
    board_->update();
    observer_.poll(now, [this](std::string_view event) {
      if (event.starts_with("console: ")) {
        keep_tail(console_, event.substr(9));
      } else if (event.starts_with("command: ")) {
        keep_tail(commands_, event.substr(9));
      }
    });
    if (now >= next_store_read) {
      store_ = board_->read_modes();
      next_store_read = now + kStoreReadMs;
    }
    if (now >= next_frame) {
      draw(now);
      next_frame = now + kFrameMs;
    }
  }
  board_->stop();
  return 0;
}

bool Panel::key(char c, uint64_t now) {
  switch (c) {
    case ' ':
      button(keys_.space(now));
      break;
    case 'p':
      button(keys_.toggle());
      break;
    case '\r':
    case '\n':
      button(keys_.enter());
      break;
    case '\x7f':
    case '\b':
      keys_.backspace();
      break;
    case 'w': {
      std::string error = board_->set_wan(!board_->wan());
      report(error, board_->wan() ? "WAN link up" : "WAN link down");
      break;
    }
    case 'u': {
      std::string error = board_->set_upstream(!board_->upstream());
      report(error, board_->upstream() ? "upstream connected" : "upstream lost");
      break;
    }
    case 'i': {
      std::string error = board_->set_internet(!board_->internet());
      report(error, board_->internet() ? "internet reachable" : "internet unreachable");
      break;
    }
    case 'm': {
      message_ = "switching mode, restarting the daemons...";
      draw(now);
      const Mode next = board_->mode() == Mode::router ? Mode::repeater : Mode::router;
      std::string error = board_->set_mode(next);
      report(error, next == Mode::router ? "router mode" : "repeater mode");
      store_ = board_->read_modes();
      break;
    }
    case 'q':
    case '\x03':  // Ctrl-C: the terminal sends it as a key in raw mode
      return false;
    default:
      if (is_radio_key(c)) {
        message_ = "asking the radio peers...";  // starting a peer takes a few seconds
        draw(now);
        message_ = *radio_key(c, board_->radio_peers(), board_->mode());
        break;
      }
      for (const WpsKey &k : kWpsKeys) {
        if (k.key != c) continue;
        report(board_->end_wps(k.band, k.result),
               std::string(k.done) + " (" + std::to_string(wps_status_code(k.result)) + ")");
      }
      keys_.digit(c);
      break;
  }
  return true;
}

void Panel::button(const ButtonCommand &command) {
  switch (command.kind) {
    case ButtonCommand::Kind::none:
      return;
    case ButtonCommand::Kind::hold:
      return report(board_->hold(true), "button pressed");
    case ButtonCommand::Kind::release:
      return report(board_->hold(false), "button released");
    case ButtonCommand::Kind::press:
      return report(board_->press(command.samples),
                    "button pressed for " + std::to_string(command.samples) + " samples");
  }
}

void Panel::report(const std::string &error, const std::string &done) {
  message_ = error.empty() ? done : "error: " + error;
}

void Panel::draw(uint64_t now) {
  PanelView v;
  v.now_ms = now;
  v.uptime_ms = now - started_;
  terminal_.size(v.columns, v.rows);
  v.leds = &observer_.leds();
  v.button_held = keys_.held();
  v.hold = observer_.hold();
  v.last_hold = observer_.last_hold();
  v.entry = keys_.entry();
  v.wan = board_->wan();
  v.upstream = board_->upstream();
  v.internet = board_->internet();
  v.mode = board_->mode();
  v.store = store_;
  v.time_divisor = board_->time_divisor();
  v.board_name = board_->name();
  BoardStatus status = board_->status();
  v.files = std::move(status.files);
  v.daemons = std::move(status.daemons);
  v.hups = observer_.hups();
  v.console = &console_;
  v.commands = &commands_;
  v.message = message_;
  if (const RadioPeers *peers = board_->radio_peers()) v.radio = peers->summary();
  terminal_.write(render_panel(v));
}

}  // namespace

int run_interactive(const BoardMaker &make_board) {
  Terminal terminal;
  if (!terminal.ok()) {
    std::fprintf(stderr, "panel: needs a terminal (or --scenario FILE)\n");
    return 2;
  }
  install_quit_handlers();
  return Panel(make_board, terminal).run();
}

}  // namespace panel
