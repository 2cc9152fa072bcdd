// Parser of scenario files: every line is checked before the board is
// touched, and the first bad one is reported with its number.
#include "sim/panel/scenario.h"

#include <charconv>
#include <cmath>

#include "boardutil/wireless_abi.h"

namespace panel {

namespace {

std::string_view trim(std::string_view s) {
  size_t begin = s.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) return {};
  size_t end = s.find_last_not_of(" \t\r");
  return s.substr(begin, end - begin + 1);
}

// Splits off the first blank-separated word of s.
std::string_view next_word(std::string_view &s) {
  s = trim(s);
  size_t end = std::min(s.find_first_of(" \t"), s.size());
  std::string_view word = s.substr(0, end);
  s = trim(s.substr(end));
  return word;
}

bool parse_unsigned(std::string_view word, unsigned low, unsigned high, unsigned &value) {
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && end == word.data() + word.size() && value >= low && value <= high;
}

bool parse_seconds(std::string_view word, unsigned &ms) {
  double seconds = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), seconds);
  if (ec != std::errc() || end != word.data() + word.size() || !(seconds >= 0) ||
      seconds * 1000 > kMaxWaitMs) {
    return false;
  }
  ms = unsigned(std::lround(seconds * 1000));
  return true;
}

bool parse_switch(std::string_view word, bool &on) {
  if (word != "0" && word != "1") return false;
  on = word == "1";
  return true;
}

bool parse_band(std::string_view word, Band &band) {
  if (word == "2.4") {
    band = Band::ghz24;
  } else if (word == "5") {
    band = Band::ghz5;
  } else {
    return false;
  }
  return true;
}

bool parse_result(std::string_view word, WpsResult &result) {
  if (word == "success") {
    result = WpsResult::success;
  } else if (word == "failure") {
    result = WpsResult::failure;
  } else if (word == "overlap") {
    result = WpsResult::overlap;
  } else {
    return false;
  }
  return true;
}

bool parse_mode(std::string_view word, Mode &mode) {
  if (word == "router") {
    mode = Mode::router;
  } else if (word == "repeater") {
    mode = Mode::repeater;
  } else {
    return false;
  }
  return true;
}

struct Syntax {
  std::string_view name;
  Action::Kind kind;
  std::string_view usage;
};
constexpr Syntax kSyntax[] = {
    {"press", Action::Kind::press, "press SAMPLES (1-65536)"},
    {"hold", Action::Kind::hold, "hold"},
    {"release", Action::Kind::release, "release"},
    {"wait", Action::Kind::wait, "wait SECONDS (0-3600)"},
    {"wan", Action::Kind::wan, "wan 0|1"},
    {"upstream", Action::Kind::upstream, "upstream 0|1"},
    {"internet", Action::Kind::internet, "internet 0|1"},
    {"wps", Action::Kind::wps, "wps 2.4|5 success|failure|overlap"},
    {"mode", Action::Kind::mode, "mode router|repeater"},
    {"time-divisor", Action::Kind::time_divisor, "time-divisor N (1-1000)"},
    {"expect", Action::Kind::expect, "expect TEXT"},
    {"expect-within", Action::Kind::expect_within, "expect-within SECONDS (0-3600)"},
    {"phone-button", Action::Kind::phone_button, "phone-button 1|2"},
    {"upstream-button", Action::Kind::upstream_button, "upstream-button"},
    {"repeater-session", Action::Kind::repeater_session, "repeater-session"},
};

// Fills the action's arguments from the words after its name.
bool parse_arguments(Action &a, std::string_view rest) {
  using K = Action::Kind;
  if (a.kind == K::expect) {
    a.expected = std::string(rest);
    return !rest.empty();
  }
  std::string_view first = next_word(rest), second = next_word(rest);
  if (!rest.empty()) return false;
  switch (a.kind) {
    case K::hold:
    case K::release:
    case K::upstream_button:
    case K::repeater_session:
      return first.empty();
    case K::phone_button:
      return second.empty() && parse_unsigned(first, 1, 2, a.number);
    case K::press:
      return second.empty() && parse_unsigned(first, 1, kMaxPressSamples, a.number);
    case K::wait:
    case K::expect_within:
      return second.empty() && parse_seconds(first, a.wait_ms);
    case K::wan:
    case K::upstream:
    case K::internet:
      return second.empty() && parse_switch(first, a.on);
    case K::wps:
      return parse_band(first, a.band) && parse_result(second, a.result);
    case K::mode:
      return second.empty() && parse_mode(first, a.mode);
    case K::time_divisor:
      return second.empty() && parse_unsigned(first, 1, kMaxTimeDivisor, a.number);
    case K::expect:
      break;
  }
  return false;
}

}  // namespace

Scenario parse_scenario(std::string_view text) {
  Scenario scenario;
  unsigned number = 0;
  while (!text.empty()) {
    size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++number;
    line = trim(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    std::string_view rest = line;
    std::string_view name = next_word(rest);
    const Syntax *syntax = nullptr;
    for (const Syntax &s : kSyntax) {
      if (s.name == name) syntax = &s;
    }
    if (!syntax) {
      scenario.error_line = number;
      scenario.error = "unknown action '" + std::string(name) + "'";
      return scenario;
    }
    Action action;
    action.kind = syntax->kind;
    action.line = number;
    if (!parse_arguments(action, rest)) {
      scenario.error_line = number;
      scenario.error = "expected '" + std::string(syntax->usage) + "'";
      return scenario;
    }
    action.text = std::string(line);
    scenario.actions.push_back(std::move(action));
  }
  return scenario;
}

unsigned wps_status_code(WpsResult result) {
  switch (result) {
    case WpsResult::success:
      return WSC_STATUS_CONFIGURED;
    case WpsResult::failure:
      return WSC_STATUS_FAILED_2;
    case WpsResult::overlap:
      return WSC_STATUS_PBC_OVERLAP;
  }
  return 0;
}

}  // namespace panel
