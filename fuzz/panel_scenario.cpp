// Fuzzes the front panel's scenario parser. A scenario that parses has
// every argument within its limits and parses again, from the texts of its
// actions, to the same actions; one that does not names a line of the file.
#include <algorithm>
#include <string>

#include "fuzz/fuzz_check.h"
#include "sim/panel/scenario.h"

namespace {

bool same(const panel::Action &a, const panel::Action &b) {
  return a.kind == b.kind && a.number == b.number && a.wait_ms == b.wait_ms && a.on == b.on &&
         a.band == b.band && a.result == b.result && a.mode == b.mode && a.expected == b.expected &&
         a.text == b.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string_view text = fuzz::as_text(data, size);
  unsigned lines = static_cast<unsigned>(std::count(text.begin(), text.end(), '\n')) + 1;
  panel::Scenario scenario = panel::parse_scenario(text);
  if (scenario.error_line != 0) {
    FUZZ_CHECK(scenario.error_line <= lines && !scenario.error.empty());
    return 0;
  }
  std::string again_text;
  unsigned last_line = 0;
  for (const panel::Action &action : scenario.actions) {
    FUZZ_CHECK(action.line > last_line && action.line <= lines);
    last_line = action.line;
    FUZZ_CHECK(action.wait_ms <= panel::kMaxWaitMs);
    if (action.kind == panel::Action::Kind::press) {
      FUZZ_CHECK(action.number >= 1 && action.number <= panel::kMaxPressSamples);
    }
    if (action.kind == panel::Action::Kind::time_divisor) {
      FUZZ_CHECK(action.number >= 1 && action.number <= panel::kMaxTimeDivisor);
    }
    FUZZ_CHECK(action.text.find('\n') == std::string::npos);
    again_text += action.text + "\n";
  }
  panel::Scenario again = panel::parse_scenario(again_text);
  FUZZ_CHECK(again.error_line == 0 && again.actions.size() == scenario.actions.size());
  for (size_t i = 0; i < again.actions.size(); ++i) {
    FUZZ_CHECK(same(again.actions[i], scenario.actions[i]));
  }
  return 0;
}
