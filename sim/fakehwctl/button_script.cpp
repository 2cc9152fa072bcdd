// Compiles button scripts, refusing anything that is not exactly a level
// with an optional decimal repeat count.
#include "sim/fakehwctl/button_script.h"

#include <string>

#include "sim/fakehw/hw_state.h"
#include "sim/fakehw/text_parse.h"

namespace fakehwctl {

using fakehw::kButtonMaxSamples;
using fakehw::kButtonPressed;
using fakehw::kButtonReleased;
using fakehw::next_token;
using fakehw::parse_u32;

namespace {

Result bad_token(std::string_view token, const char *why) {
  return Result::fail("button script: \"" + std::string(token) + "\" " + why);
}

}  // namespace

Result compile_button_script(std::string_view text, ButtonScript &script) {
  ButtonScript compiled;
  for (std::string_view token = next_token(text); !token.empty(); token = next_token(text)) {
    if (token[0] != '0' && token[0] != '1') {
      return bad_token(token, "does not start with level 0 or 1");
    }
    uint8_t level = token[0] == '0' ? kButtonPressed : kButtonReleased;
    uint32_t count = 1;
    if (token.size() > 1) {
      std::string_view repeat = token.substr(2);
      bool decimal =
          !repeat.empty() && repeat.find_first_not_of("0123456789") == std::string_view::npos;
      if (token[1] != 'x' || !decimal || !parse_u32(repeat, count) || count == 0) {
        return bad_token(token, "is not LEVEL or LEVELxCOUNT");
      }
    }
    if (count > kButtonMaxSamples - compiled.levels.size()) {
      return Result::fail("button script: more than " + std::to_string(kButtonMaxSamples) +
                          " samples");
    }
    compiled.levels.insert(compiled.levels.end(), count, level);
    compiled.after = level;
  }
  script = std::move(compiled);
  return Result::ok();
}

}  // namespace fakehwctl
