// A scenario: timed actions against the board, one per line of a text
// file ('#' starts a comment), checked and parsed before anything runs.
#ifndef SIM_PANEL_SCENARIO_H
#define SIM_PANEL_SCENARIO_H

#include <string>
#include <string_view>
#include <vector>

namespace panel {

enum class Band { ghz24, ghz5 };
enum class WpsResult { success, failure, overlap };
enum class Mode { router, repeater };

struct Action {
  enum class Kind {
    press,
    hold,
    release,
    wait,
    wan,
    upstream,
    internet,
    wps,
    mode,
    time_divisor,
    expect,
    expect_within,
    phone_button,
    upstream_button,
    repeater_session
  };
  Kind kind = Kind::wait;
  unsigned line = 0;     // in the file, from 1
  unsigned number = 0;   // press: samples; time-divisor: divisor; phone-button: the phone
  unsigned wait_ms = 0;  // wait; expect-within: how long later expects wait
  bool on = false;       // wan, upstream, internet
  Band band = Band::ghz24;
  WpsResult result = WpsResult::success;
  Mode mode = Mode::router;
  std::string expected;  // expect: the text to wait for
  std::string text;      // the line as written, without comment
};

struct Scenario {
  std::vector<Action> actions;
  unsigned error_line = 0;  // 0 when the text parsed
  std::string error;
};

inline constexpr unsigned kMaxPressSamples = 65536;
inline constexpr unsigned kMaxWaitMs = 3600 * 1000;
inline constexpr unsigned kMaxTimeDivisor = 1000;

Scenario parse_scenario(std::string_view text);

// The wireless status code a WPS ending shows: 34, 2 or 265.
unsigned wps_status_code(WpsResult result);

}  // namespace panel

#endif
