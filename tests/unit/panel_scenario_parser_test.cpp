// The scenario parser: every action with its arguments, comments and blank
// lines, and the line number of the first bad line.
#include <gtest/gtest.h>

#include "sim/panel/scenario.h"

namespace {

using panel::Action;
using panel::parse_scenario;
using K = Action::Kind;

TEST(PanelScenarioParser, ReadsEveryAction) {
  const panel::Scenario s = parse_scenario(
      "# a comment line\n"
      "\n"
      "press 30   # samples\n"
      "hold\r\n"
      "  release\n"
      "wait 1.25\n"
      "wait 0\n"
      "wan 0\n"
      "upstream 1\n"
      "internet 0\n"
      "wps 2.4 success\n"
      "wps 5 overlap\n"
      "wps 5 failure\n"
      "mode repeater\n"
      "mode router\n"
      "time-divisor 10\n"
      "expect led 10:   blink 10/10  # the WPS line\n"
      "expect\tconsole: start wps, type:1!\n"
      "phone-button 2\n"
      "upstream-button\n"
      "repeater-session");
  ASSERT_EQ(s.error_line, 0u) << s.error;
  ASSERT_EQ(s.actions.size(), 19u);
  const auto &a = s.actions;
  EXPECT_EQ(a[0].kind, K::press);
  EXPECT_EQ(a[0].number, 30u);
  EXPECT_EQ(a[0].line, 3u);
  EXPECT_EQ(a[0].text, "press 30");
  EXPECT_EQ(a[1].kind, K::hold);
  EXPECT_EQ(a[2].kind, K::release);
  EXPECT_EQ(a[2].line, 5u);
  EXPECT_EQ(a[3].kind, K::wait);
  EXPECT_EQ(a[3].wait_ms, 1250u);
  EXPECT_EQ(a[4].wait_ms, 0u);
  EXPECT_EQ(a[5].kind, K::wan);
  EXPECT_FALSE(a[5].on);
  EXPECT_EQ(a[6].kind, K::upstream);
  EXPECT_TRUE(a[6].on);
  EXPECT_EQ(a[7].kind, K::internet);
  EXPECT_FALSE(a[7].on);
  EXPECT_EQ(a[8].kind, K::wps);
  EXPECT_EQ(a[8].band, panel::Band::ghz24);
  EXPECT_EQ(panel::wps_status_code(a[8].result), 34u);
  EXPECT_EQ(a[9].band, panel::Band::ghz5);
  EXPECT_EQ(panel::wps_status_code(a[9].result), 265u);
  EXPECT_EQ(panel::wps_status_code(a[10].result), 2u);
  EXPECT_EQ(a[11].mode, panel::Mode::repeater);
  EXPECT_EQ(a[12].mode, panel::Mode::router);
  EXPECT_EQ(a[13].kind, K::time_divisor);
  EXPECT_EQ(a[13].number, 10u);
  EXPECT_EQ(a[14].kind, K::expect);
  EXPECT_EQ(a[14].expected, "led 10:   blink 10/10");
  EXPECT_EQ(a[15].expected, "console: start wps, type:1!");
  EXPECT_EQ(a[15].line, 18u);
  EXPECT_EQ(a[16].kind, K::phone_button);
  EXPECT_EQ(a[16].number, 2u);
  EXPECT_EQ(a[17].kind, K::upstream_button);
  EXPECT_EQ(a[18].kind, K::repeater_session);
}

TEST(PanelScenarioParser, ExpectWithinSetsTheWaitOfLaterExpectations) {
  const panel::Scenario s = parse_scenario("expect-within 2.5\nexpect within reach");
  ASSERT_EQ(s.error_line, 0u) << s.error;
  ASSERT_EQ(s.actions.size(), 2u);
  EXPECT_EQ(s.actions[0].kind, K::expect_within);
  EXPECT_EQ(s.actions[0].wait_ms, 2500u);
  EXPECT_EQ(s.actions[1].kind, K::expect);
  EXPECT_EQ(s.actions[1].expected, "within reach");
}

TEST(PanelScenarioParser, ReportsTheFirstBadLine) {
  struct Case {
    const char *text;
    unsigned line;
    const char *error;
  };
  const Case cases[] = {
      {"press 20\npresss 20\nbogus", 2, "unknown action 'presss'"},
      {"press", 1, "expected 'press SAMPLES (1-65536)'"},
      {"press 0", 1, "expected 'press SAMPLES (1-65536)'"},
      {"press 65537", 1, "expected 'press SAMPLES (1-65536)'"},
      {"press 2x", 1, "expected 'press SAMPLES (1-65536)'"},
      {"press 20 30", 1, "expected 'press SAMPLES (1-65536)'"},
      {"# ok\nhold 1", 2, "expected 'hold'"},
      {"wait -1", 1, "expected 'wait SECONDS (0-3600)'"},
      {"wait 1.5s", 1, "expected 'wait SECONDS (0-3600)'"},
      {"wait 3601", 1, "expected 'wait SECONDS (0-3600)'"},
      {"wait nan", 1, "expected 'wait SECONDS (0-3600)'"},
      {"wan up", 1, "expected 'wan 0|1'"},
      {"\n\ninternet 2", 3, "expected 'internet 0|1'"},
      {"wps 2.4", 1, "expected 'wps 2.4|5 success|failure|overlap'"},
      {"wps 6 success", 1, "expected 'wps 2.4|5 success|failure|overlap'"},
      {"wps 5 success now", 1, "expected 'wps 2.4|5 success|failure|overlap'"},
      {"mode bridge", 1, "expected 'mode router|repeater'"},
      {"time-divisor 0", 1, "expected 'time-divisor N (1-1000)'"},
      {"expect   # nothing to wait for", 1, "expected 'expect TEXT'"},
      {"expect-within soon", 1, "expected 'expect-within SECONDS (0-3600)'"},
      {"phone-button 3", 1, "expected 'phone-button 1|2'"},
      {"phone-button", 1, "expected 'phone-button 1|2'"},
      {"upstream-button now", 1, "expected 'upstream-button'"},
  };
  for (const Case &c : cases) {
    const panel::Scenario s = parse_scenario(c.text);
    EXPECT_EQ(s.error_line, c.line) << c.text;
    EXPECT_EQ(s.error, c.error) << c.text;
  }
}

}  // namespace
