// A readable dump of the fake drivers' state for the fakehwctl tool: the
// shared switches, then each interface's wireless answers.
#include <cstdio>
#include <string>

#include "sim/fakehw/text_parse.h"
#include "sim/fakehwctl/answer_files.h"
#include "sim/fakehwctl/control.h"
#include "sim/fakehwctl/request_names.h"
#include "sim/fakehwctl/state_file.h"

namespace fakehwctl {

using fakehw::HwState;
using fakehw::kButtonPressed;
using fakehw::kWifiAclFile;
using fakehw::kWifiBssidFile;
using fakehw::kWifiChannelFile;
using fakehw::kWifiConfiguredFile;
using fakehw::kWifiConnStatusFile;
using fakehw::kWifiFailFile;
using fakehw::kWifiProfileFile;
using fakehw::kWifiStatusFile;
using fakehw::next_token;
using fakehw::Word;

namespace {

std::string hex(uint32_t value) {
  char text[16];
  snprintf(text, sizeof text, "0x%08x", value);
  return text;
}

std::string yes_no(const Word &word) { return word.load() != 0 ? "yes" : "no"; }

template <size_t N>
std::string fail_names(uint32_t bits, const std::array<NamedBit, N> &names) {
  std::string text;
  for (const NamedBit &named : names) {
    if ((bits & named.bit) != 0) text += (text.empty() ? "" : " ") + std::string(named.name);
  }
  return text.empty() ? "none" : text;
}

std::string show_switches(const HwState &state) {
  std::string text;
  text += "time-divisor " + std::to_string(state.time_divisor.load()) + "\n";
  text += "logging " + std::string(state.logging.load() != 0 ? "on" : "off") + "\n";
  text += "gpio missing " + yes_no(state.gpio_missing) + "\n";
  text += "gpio fail " + fail_names(state.gpio_refuse.load(), kGpioRequestNames) + "\n";
  text += "gpio banks";
  for (const Word &word : state.bank_levels) text += " " + hex(word.load());
  text += "\n";
  text += "button " + std::to_string(state.button_cursor.load()) + " reads of " +
          std::to_string(state.button_length.load()) + " samples, then " +
          (state.button_after.load() == kButtonPressed ? "pressed" : "released") + "\n";
  text += "rdm missing " + yes_no(state.rdm_missing) + "\n";
  text += "rdm fail " + fail_names(state.rdm_refuse.load(), kRdmRequestNames) + "\n";
  text += "wan-link " + std::to_string(state.wan_link.load() & 1) + "\n";
  return text;
}

std::string show_wifi(const std::string &ifname) {
  std::string text;
  for (const char *file : {kWifiStatusFile, kWifiChannelFile, kWifiBssidFile, kWifiAclFile,
                           kWifiConnStatusFile, kWifiFailFile}) {
    std::string content = read_answer(ifname, file);
    std::string_view rest = content;
    std::string values;
    for (std::string_view token = next_token(rest); !token.empty(); token = next_token(rest)) {
      values += " " + std::string(token);
    }
    if (!content.empty()) text += "wifi " + ifname + " " + file + ":" + values + "\n";
  }
  for (const char *file : {kWifiProfileFile, kWifiConfiguredFile}) {
    size_t size = read_answer(ifname, file).size();
    if (size > 0) text += "wifi " + ifname + " " + file + ": " + std::to_string(size) + " bytes\n";
  }
  return text;
}

}  // namespace

std::string show() {
  HwState *state = nullptr;
  if (Result mapped = mapped_state(state); !mapped) return mapped.error + "\n";
  std::string text = show_switches(*state);
  for (const std::string &ifname : wifi_interfaces()) text += show_wifi(ifname);
  return text;
}

}  // namespace fakehwctl
