// Parses the request log lines the panel reacts to; the formats are the
// fake drivers' (sim/README.md).
#include "sim/panel/requests.h"

#include <charconv>

namespace panel {

namespace {

constexpr unsigned kButtonPin = 1;

// Reads "NAME=" and a number at the front of text, advancing past a blank.
bool take_field(std::string_view &text, std::string_view name, unsigned &value) {
  if (!text.starts_with(name) || text.size() <= name.size() || text[name.size()] != '=') {
    return false;
  }
  text.remove_prefix(name.size() + 1);
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end == text.data()) return false;
  text.remove_prefix(end - text.data());
  if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return true;
}

}  // namespace

std::optional<LedRequest> parse_led_request(std::string_view line) {
  constexpr std::string_view kPrefix = "gpio led ";
  if (!line.starts_with(kPrefix)) return std::nullopt;
  line.remove_prefix(kPrefix.size());
  LedRequest r;
  LedPattern &p = r.pattern;
  if (take_field(line, "pin", r.pin) && take_field(line, "on", p.on) &&
      take_field(line, "off", p.off) && take_field(line, "blinks", p.blinks) &&
      take_field(line, "rests", p.rests) && take_field(line, "times", p.times) && line.empty()) {
    return r;
  }
  return std::nullopt;
}

ButtonSample parse_button_sample(std::string_view line) {
  constexpr std::string_view kPrefix = "gpio read cmd=0x02 -> 0x";
  if (!line.starts_with(kPrefix)) return ButtonSample::none;
  line.remove_prefix(kPrefix.size());
  unsigned word = 0;
  auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), word, 16);
  if (ec != std::errc() || end != line.data() + line.size()) return ButtonSample::none;
  return (word >> kButtonPin) & 1 ? ButtonSample::released : ButtonSample::pressed;
}

bool request_is_noise(std::string_view line) {
  return line.starts_with("gpio read ") || line.starts_with("gpio dir-in ") ||
         line.starts_with("rdm cmd=0x6B0E");
}

}  // namespace panel
