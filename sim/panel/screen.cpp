// Draws the front panel as text with plain ANSI escapes (SGR colours,
// cursor home, erase to end of line).
#include "sim/panel/screen.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "sim/panel/radio_keys.h"

namespace panel {

namespace {

constexpr char kReset[] = "\x1b[0m";
constexpr char kBold[] = "\x1b[1m";
constexpr char kDim[] = "\x1b[2m";
constexpr char kLit[] = "\x1b[1;97;42m";
constexpr char kWarn[] = "\x1b[1;33m";
constexpr char kAlarm[] = "\x1b[1;31m";
constexpr unsigned kPanelLines[] = {8, 9, 10, 11};
constexpr unsigned kWpsLine = 10;
constexpr unsigned kWpsSamples = 20, kResetSamples = 100;
constexpr unsigned kSamplesPerCell = 2;
constexpr unsigned kRowsBelowTails = 5;  // blank, message, three lines of keys (four with radio)
constexpr unsigned kMinTailRows = 2;
constexpr size_t kFilesPerLine = 3;

// Lines of the frame, each cut to the terminal's width (escapes don't count).
class Frame {
 public:
  Frame(unsigned columns, unsigned rows) : columns_(columns), max_rows_(rows) {}
  // Lines beyond the terminal's height are dropped: the frame never scrolls.
  void line(const std::string &text) {
    if (rows_ == max_rows_) return;
    if (!out_.empty()) out_ += "\r\n";
    unsigned visible = 0;
    for (size_t i = 0; i < text.size() && visible < columns_; ++i) {
      if (text[i] == '\x1b') {
        const size_t end = text.find_first_of("ABCDEFGHJKSTfmhl", i);
        if (end == std::string::npos) break;
        out_.append(text, i, end + 1 - i);
        i = end;
        continue;
      }
      out_ += text[i];
      ++visible;
    }
    out_ += kReset;
    out_ += "\x1b[K";
    ++rows_;
  }
  unsigned rows() const { return rows_; }
  std::string finish() const { return "\x1b[H" + out_ + "\x1b[J"; }

 private:
  unsigned columns_, max_rows_, rows_ = 0;
  std::string out_;
};

std::string format(const char *fmt, auto... args) {
  char text[256];
  std::snprintf(text, sizeof text, fmt, args...);
  return text;
}

std::string led_line(unsigned pin, const LedState *led, uint64_t now_ms) {
  const bool lit = led && led->lit(now_ms);
  std::string line = format("  line %2u  [", pin);
  line += lit ? std::string(kLit) + " ON " : std::string(kDim) + " -- ";
  line += kReset;
  line += "]  ";
  if (led) {
    line += format("%-28s %-22s", led_describe(led->pattern).c_str(),
                   led_numbers(led->pattern).c_str());
  } else {
    line += format("%-51s", "no request yet");
  }
  if (pin == kWpsLine) line += "  WPS";
  return line;
}

void draw_leds(Frame &frame, const PanelView &v) {
  std::set<unsigned> pins(std::begin(kPanelLines), std::end(kPanelLines));
  for (const auto &[pin, led] : *v.leds) pins.insert(pin);
  for (unsigned pin : pins) {
    auto it = v.leds->find(pin);
    frame.line(led_line(pin, it == v.leds->end() ? nullptr : &it->second, v.now_ms));
  }
}

// The hold count against the WPS and reset thresholds, two samples a cell.
void draw_button(Frame &frame, const PanelView &v) {
  const char *colour = v.hold >= kResetSamples ? kAlarm : v.hold >= kWpsSamples ? kWarn : "";
  std::string state = v.button_held ? std::string(kBold) + "PRESSED " + kReset : "released";
  frame.line(format(" Button   %s   hold %s%3u%s samples   last press %3u      typed: %s_",
                    state.c_str(), colour, v.hold, kReset, v.last_hold, v.entry.c_str()));
  std::string bar = "          [";
  for (unsigned cell = 0; cell < kResetSamples / kSamplesPerCell; ++cell) {
    if (cell == kWpsSamples / kSamplesPerCell) bar += '|';
    bar += v.hold > cell * kSamplesPerCell ? '#' : '.';
  }
  frame.line(std::string(colour) + bar + kReset + "|");
  frame.line("           0         20 WPS                                   100 reset");
}

std::string switch_text(const char *name, bool on, const char *yes, const char *no) {
  return format("%s %s%s%s", name, on ? "" : kAlarm, on ? yes : no, kReset);
}

void draw_board(Frame &frame, const PanelView &v) {
  frame.line(format(" Mode     %s%s%s (OperationMode %s, MeshMode %s)", kBold,
                    v.mode == Mode::repeater ? "repeater" : "router", kReset,
                    v.store.operation_mode.c_str(), v.store.mesh_mode.c_str()));
  frame.line(" Uplink   " + switch_text("WAN link", v.wan, "up", "DOWN") + "   " +
             switch_text("upstream", v.upstream, "connected", "DISCONNECTED") + "   " +
             switch_text("internet", v.internet, "reachable", "UNREACHABLE"));
  // The status files, three a line.
  for (size_t first = 0; first < v.files.size(); first += kFilesPerLine) {
    std::string line = first == 0 ? " Files   " : "         ";
    for (size_t i = first; i < v.files.size() && i < first + kFilesPerLine; ++i) {
      line += " " + v.files[i].first + " " + v.files[i].second.value_or("-") + "  ";
    }
    frame.line(line);
  }
  std::string daemons = " Daemons ";
  for (const DaemonView &d : v.daemons) {
    daemons += d.running           ? format(" %s running (pid %d) ", d.name.c_str(), d.pid)
               : d.exit_status < 0 ? format(" %s%s stopped%s ", kAlarm, d.name.c_str(), kReset)
                                   : format(" %s%s stopped (status %d)%s ", kAlarm, d.name.c_str(),
                                            d.exit_status, kReset);
  }
  daemons += format(" monitor: %u SIGHUPs", v.hups);
  frame.line(daemons);
  if (!v.radio.empty()) frame.line(" Radio    " + v.radio);
}

void draw_tail(Frame &frame, const char *title, const std::deque<std::string> &lines, size_t rows) {
  frame.line(std::string(" ") + kBold + title + kReset);
  const size_t shown = std::min(rows, lines.size());
  for (size_t i = lines.size() - shown; i < lines.size(); ++i) frame.line("   " + lines[i]);
  for (size_t i = shown; i < rows; ++i) frame.line("");
}

}  // namespace

std::string render_panel(const PanelView &v) {
  Frame frame(v.columns, v.rows);
  frame.line(format(" %sROUTER FRONT PANEL%s  %-15s                       up %.1f s   time x%u",
                    kBold, kReset, v.board_name, double(v.uptime_ms) / 1000, v.time_divisor));
  frame.line("");
  frame.line(std::string(" ") + kBold + "LEDs" + kReset +
             "     pattern                      on/off/blinks/rests/times");
  draw_leds(frame, v);
  frame.line("");
  draw_button(frame, v);
  frame.line("");
  draw_board(frame, v);
  frame.line("");
  // The console and the commands share what rows are left, if enough are.
  const unsigned used = frame.rows() + kRowsBelowTails + (v.radio.empty() ? 0 : 1) + 2;
  if (v.rows >= used + kMinTailRows) {
    const size_t log_rows = v.rows - used;
    draw_tail(frame, "Console", *v.console, (log_rows + 1) / 2);
    draw_tail(frame, "Commands run", *v.commands, log_rows / 2);
    frame.line("");
  }
  frame.line(" > " + v.message);
  frame.line(std::string(" ") + kBold + "Keys" + kReset +
             "     space hold button   p press/release   NUMBER Enter: press N samples");
  frame.line("          w WAN link   u upstream   i internet   m router/repeater   q quit");
  frame.line("          WPS result: s f o = 2.4 GHz success/failure/overlap, S F O = 5 GHz");
  if (!v.radio.empty()) frame.line(std::string("          ") + kRadioKeysHelp);
  return frame.finish();
}

}  // namespace panel
