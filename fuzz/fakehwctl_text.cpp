// Fuzzes the simulator's control texts: button scripts, the tokens of a
// wireless fail file, numbers, MAC addresses and interface names. A script
// compiles to at most the samples the shared state holds, each a level; a
// number or MAC that parses prints back to an equal value.
#include <stdio.h>

#include <algorithm>
#include <string>

#include "fuzz/fuzz_check.h"
#include "sim/fakehw/hw_state.h"
#include "sim/fakehw/text_parse.h"
#include "sim/fakehwctl/button_script.h"

namespace {

void check_button_script(std::string_view text) {
  fakehwctl::ButtonScript script;
  if (!fakehwctl::compile_button_script(text, script)) return;
  FUZZ_CHECK(script.levels.size() <= fakehw::kButtonMaxSamples);
  for (uint8_t level : script.levels) {
    FUZZ_CHECK(level == fakehw::kButtonPressed || level == fakehw::kButtonReleased);
  }
  FUZZ_CHECK(script.levels.empty() ? script.after == fakehw::kButtonReleased
                                   : script.after == script.levels.back());
}

void check_token(std::string_view token) {
  uint32_t number = 0;
  if (fakehw::parse_u32(token, number)) {
    uint32_t again = 0;
    std::string decimal = std::to_string(number);
    FUZZ_CHECK(fakehw::parse_u32(decimal, again) && again == number);
  }
  unsigned char mac[6];
  if (fakehw::parse_mac(token, mac)) {
    char text[18];
    snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3],
             mac[4], mac[5]);
    unsigned char again[6];
    FUZZ_CHECK(fakehw::parse_mac(text, again) && std::equal(mac, mac + 6, again));
  }
  fakehw::WifiFailToken fail = fakehw::parse_wifi_fail_token(token);
  if (fail.kind == fakehw::WifiFailToken::kOid) FUZZ_CHECK(token.substr(0, 4) == "oid=");
  if (fakehw::valid_ifname(token)) {
    FUZZ_CHECK(token.size() < 16 && token.find('/') == std::string_view::npos && token != "." &&
               token != "..");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string_view text = fuzz::as_text(data, size);
  check_button_script(text);
  for (std::string_view token = fakehw::next_token(text); !token.empty();
       token = fakehw::next_token(text)) {
    check_token(token);
  }
  return 0;
}
