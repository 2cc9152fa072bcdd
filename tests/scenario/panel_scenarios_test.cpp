// The example scenarios shipped in sim/scenarios, run through the panel
// against the real daemons: each passes, and its timeline shows what the
// daemons did in the order they did it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/testbed.h"

namespace {

using Lines = std::vector<std::string>;

class PanelScenarios : public testing::Test {
 protected:
  void SetUp() override { testbed::reset(); }
  void TearDown() override { testbed::stop_all(); }

  // Runs the scenario; the timeline's events without their time stamps.
  Lines run(const std::string &file, int expected_status = 0) {
    testbed::Process panel = testbed::spawn(
        PANEL_PROGRAM, {"--scenario", std::string(PANEL_SCENARIOS_DIR) + "/" + file});
    EXPECT_EQ(panel.wait(300000), expected_status) << panel.out() << panel.err();
    Lines events;
    for (const std::string &line : testbed::read_lines(panel.stdout_path)) {
      EXPECT_EQ(line.substr(0, 1) + line.substr(8, 2), "[] ") << line;  // "[  1.250] "
      events.push_back(line.substr(10));
    }
    return events;
  }
};

// Index of the first event at or after from that starts with prefix;
// fails the test and returns events.size() if there is none.
size_t find(const Lines &events, const std::string &prefix, size_t from = 0) {
  for (size_t i = from; i < events.size(); ++i) {
    if (events[i].rfind(prefix, 0) == 0) return i;
  }
  ADD_FAILURE() << "no '" << prefix << "' after event " << from;
  return events.size();
}

size_t count(const Lines &events, const std::string &text, size_t from, size_t to) {
  size_t n = 0;
  for (size_t i = from; i < to && i < events.size(); ++i) n += events[i] == text;
  return n;
}

TEST_F(PanelScenarios, WpsPressEndingInSuccess) {
  const Lines e = run("wps_success.txt");
  const size_t press = find(e, "action: press 30");
  const size_t released = find(e, "button: released after 30 samples", press);
  const size_t started = find(e, "console: start wps, type:1!", press);
  const size_t blinking = find(e, "led 10: blink 10/10", press);
  find(e, "command: wireless.cgi wps_pbc 0", press);
  find(e, "monitor: SIGHUP", started);
  const size_t result = find(e, "action: wps 2.4 success", blinking);
  const size_t configured = find(e, "console: queryWPSStatus wps 2.4G configured!!", result);
  const size_t lit = find(e, "led 10: lit", configured);
  find(e, "monitor: SIGHUP", configured);
  find(e, "end", lit);
  EXPECT_LT(started, lit);
  EXPECT_GT(released, press);
  // The session was polled (both access points) while the LED blinked.
  EXPECT_GE(count(e, "request: wifi ra0 oid=0x0751 len=4", blinking, lit), 1u);
  EXPECT_GE(count(e, "request: wifi rai0 oid=0x0751 len=4", blinking, lit), 1u);
}

TEST_F(PanelScenarios, WanLinkLossChangesTheInternetLedInTheFourthDownCycle) {
  const Lines e = run("wan_link_loss.txt");
  const size_t down = find(e, "action: wan 0");
  const size_t blinking = find(e, "led 8: blink 10/10", down);
  find(e, "led 10: dark", down);
  // Two link readings per cycle, each with its register read; the reading
  // at the switch may still see the register up, every later one down.
  EXPECT_GE(count(e, "request: rdm read reg=0x113408 -> 0x0", down, blinking), 7u);
  const size_t up = find(e, "action: wan 1", blinking);
  find(e, "led 8: lit", up);
  find(e, "led 10: lit", up);
}

TEST_F(PanelScenarios, ResetHoldRunsTheResetAndEndsButtond) {
  const Lines e = run("reset_hold.txt");
  const size_t hold = find(e, "action: hold");
  find(e, "button: pressed", hold);
  find(e, "command: reset", hold);
  const size_t ended = find(e, "board: buttond exited with status 0", hold);
  find(e, "action: release", ended);
  // No WPS session: the reset does not wait for the release.
  EXPECT_EQ(count(e, "console: start wps, type:1!", 0, e.size()), 0u);
  // The press total, written by a background job of the last sample.
  EXPECT_TRUE(testbed::wait_for([] { return testbed::read_file("/tmp/reset_times") == "100\n"; }))
      << testbed::read_file("/tmp/reset_times");
}

TEST_F(PanelScenarios, AFailedExpectationFailsTheRunAndABadFileIsRefused) {
  testbed::write_file(
      "/tmp/never.txt",
      "# waits for something that never comes\nexpect-within 1.5\nexpect led 9: lit\n");
  testbed::write_file("/tmp/bad.txt", "press 20\nwps 2.4 sucess\n");
  testbed::Process never = testbed::spawn(PANEL_PROGRAM, {"--scenario", "/tmp/never.txt"});
  testbed::Process bad = testbed::spawn(PANEL_PROGRAM, {"--scenario", "/tmp/bad.txt"});
  EXPECT_EQ(bad.wait(), 2);
  EXPECT_EQ(bad.err(), "panel: /tmp/bad.txt:2: expected 'wps 2.4|5 success|failure|overlap'\n");
  EXPECT_EQ(bad.out(), "");  // refused before the board was touched
  EXPECT_EQ(never.wait(300000), 1);
  EXPECT_EQ(never.err(), "panel: /tmp/never.txt:3: 'led 9: lit' not seen within 1.5 s\n");
  EXPECT_NE(never.out().find("] end (failed)\n"), std::string::npos) << never.out();
}

}  // namespace
