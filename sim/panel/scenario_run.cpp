// Runs the actions of a scenario one after the other, following the board's
// logs all the while; `wait` and `expect` keep the timeline flowing.
#include "sim/panel/scenario_run.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "runtime/unique_fd.h"
#include "sim/panel/monotonic.h"
#include "sim/panel/observer.h"
#include "sim/panel/quit_signals.h"
#include "sim/panel/radio_peers.h"
#include "sim/panel/scenario.h"
#include "sim/panel/timeline.h"

namespace panel {

namespace {

constexpr size_t kMaxScenarioBytes = 1 << 20;
constexpr int kPollMs = 10;
constexpr uint64_t kDefaultExpectTimeoutMs = 60000;
constexpr uint64_t kSettleMs = 300;  // lets the last effects reach the logs

std::string seconds_text(uint64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(ms) / 1000);
  return text;
}

bool read_file(const std::string &path, std::string &text) {
  routerd::unique_fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return false;
  char buffer[8192];
  for (ssize_t n; (n = read(fd.get(), buffer, sizeof buffer)) != 0;) {
    if (n < 0 || text.size() + size_t(n) > kMaxScenarioBytes) return false;
    text.append(buffer, size_t(n));
  }
  return true;
}

class Run {
 public:
  Run(const BoardMaker &make_board, const std::string &path)
      : path_(path),
        timeline_(now_ms(), stdout),
        board_(make_board([this](std::string_view e) { event(e); })),
        observer_(board_->log_feed()) {}

  int run(const Scenario &scenario);

 private:
  void event(std::string_view text) { timeline_.add(now_ms(), text); }
  // Follows the logs until deadline or until done() holds; false if the
  // panel was asked to quit.
  template <typename Done>
  bool pump_until(uint64_t deadline, Done done);
  bool act(const Action &action);
  std::string radio_action(const Action &action);
  bool fail(const Action &action, const std::string &why);

  std::string path_;
  Timeline timeline_;
  std::unique_ptr<Board> board_;
  Observer observer_;
  uint64_t expect_timeout_ms_ = kDefaultExpectTimeoutMs;
  size_t expect_from_ = 0;  // expectations look at what followed the last action on the board
};

template <typename Done>
bool Run::pump_until(uint64_t deadline, Done done) {
  for (;;) {
    board_->update();
    observer_.poll(now_ms(), [this](std::string_view e) { event(e); });
    if (quit_requested()) return false;
    if (done() || now_ms() >= deadline) return true;
    pause_ms(kPollMs);
  }
}

bool Run::fail(const Action &action, const std::string &why) {
  event("failed: " + why);
  std::fprintf(stderr, "panel: %s:%u: %s\n", path_.c_str(), action.line, why.c_str());
  return false;
}

bool Run::act(const Action &a) {
  using K = Action::Kind;
  event("action: " + a.text);
  if (a.kind != K::wait && a.kind != K::expect && a.kind != K::expect_within) {
    expect_from_ = timeline_.size();
  }
  std::string error;
  switch (a.kind) {
    case K::press:
      error = board_->press(a.number);
      break;
    case K::hold:
      error = board_->hold(true);
      break;
    case K::release:
      error = board_->hold(false);
      break;
    case K::wan:
      error = board_->set_wan(a.on);
      break;
    case K::upstream:
      error = board_->set_upstream(a.on);
      break;
    case K::internet:
      error = board_->set_internet(a.on);
      break;
    case K::wps:
      error = board_->end_wps(a.band, a.result);
      break;
    case K::mode:
      error = board_->set_mode(a.mode);
      break;
    case K::time_divisor:
      error = board_->set_time_divisor(a.number);
      break;
    case K::phone_button:
    case K::upstream_button:
    case K::repeater_session:
      error = radio_action(a);
      break;
    case K::wait:
      return pump_until(now_ms() + a.wait_ms, [] { return false; });
    case K::expect_within:
      expect_timeout_ms_ = a.wait_ms;
      return true;
    case K::expect: {
      bool found = false;
      if (!pump_until(now_ms() + expect_timeout_ms_,
                      [&] { return found = timeline_.find(a.expected, expect_from_); })) {
        return false;
      }
      if (!found) {
        return fail(
            a, "'" + a.expected + "' not seen within " + seconds_text(expect_timeout_ms_) + " s");
      }
      return true;
    }
  }
  return error.empty() || fail(a, error);
}

std::string Run::radio_action(const Action &a) {
  RadioPeers *peers = board_->radio_peers();
  if (!peers) return kNoRadioPeers;
  switch (a.kind) {
    case Action::Kind::phone_button:
      return peers->press_phone(a.number);
    case Action::Kind::upstream_button:
      return peers->press_upstream(board_->mode());
    default:
      return peers->start_repeater_session(board_->mode());
  }
}

int Run::run(const Scenario &scenario) {
  install_quit_handlers();
  if (std::string error = board_->start(); !error.empty()) {
    event("failed: " + error);
    std::fprintf(stderr, "panel: %s\n", error.c_str());
    board_->stop();
    return 1;
  }
  bool ok = true;
  for (const Action &action : scenario.actions) {
    if (!(ok = act(action))) break;
  }
  if (ok) pump_until(now_ms() + kSettleMs, [] { return false; });
  if (quit_requested()) {
    event("interrupted");
    ok = false;
  }
  board_->stop();
  board_->update();
  observer_.flush(now_ms(), [this](std::string_view e) { event(e); });
  event(ok ? "end" : "end (failed)");
  return ok ? 0 : 1;
}

}  // namespace

int run_scenario(const BoardMaker &make_board, const std::string &path) {
  std::string text;
  if (!read_file(path, text)) {
    std::fprintf(stderr, "panel: cannot read scenario %s\n", path.c_str());
    return 2;
  }
  Scenario scenario = parse_scenario(text);
  if (scenario.error_line) {
    std::fprintf(stderr, "panel: %s:%u: %s\n", path.c_str(), scenario.error_line,
                 scenario.error.c_str());
    return 2;
  }
  return Run(make_board, path).run(scenario);
}

}  // namespace panel
