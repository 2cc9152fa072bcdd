// The panel's LED playback: lit and dark at given times for the patterns
// the daemons send (100 ms units, groups with rests, group limits, the
// steady cases), and the names the timeline gives them.
#include <gtest/gtest.h>

#include "sim/panel/led_pattern.h"

namespace {

using panel::led_describe;
using panel::led_lit;
using panel::LedPattern;

// Lit or dark at each of the given milliseconds, as a string of '#' and '.'.
std::string trace(const LedPattern &p, std::initializer_list<uint64_t> times) {
  std::string s;
  for (uint64_t t : times) s += led_lit(p, t) ? '#' : '.';
  return s;
}

TEST(PanelLedPattern, BlinksInDriverUnitsOfAHundredMilliseconds) {
  const LedPattern slow{10, 10, 4000, 0, 4000}, fast{3, 3, 4000, 0, 4000};
  EXPECT_EQ(trace(slow, {0, 999, 1000, 1999, 2000, 3999, 4000}), "##..#.#");
  EXPECT_EQ(trace(fast, {0, 299, 300, 599, 600, 900, 1200}), "##..#.#");
  // Over the first two seconds the 3/3 pattern changes state more often.
  int slow_changes = 0, fast_changes = 0;
  for (uint64_t t = 100; t < 2000; t += 100) {
    slow_changes += led_lit(slow, t) != led_lit(slow, t - 100);
    fast_changes += led_lit(fast, t) != led_lit(fast, t - 100);
  }
  EXPECT_EQ(slow_changes, 1);
  EXPECT_EQ(fast_changes, 6);
}

TEST(PanelLedPattern, AGroupEndsWithItsRestDark) {
  // Ten 1/1 blinks (2 s), then 5 units dark, then the next group.
  const LedPattern p{1, 1, 10, 5, 4000};
  EXPECT_EQ(trace(p, {0, 100, 1800, 1900, 2000, 2499, 2500, 2600}), "#.#...#.");
  // The WPS session pattern rests one unit after 4000 blinks of 10/10.
  const LedPattern wps{10, 10, 4000, 1, 4000};
  const uint64_t group = 4000 * 2000 + 100;
  EXPECT_EQ(trace(wps, {group - 2000, group - 1000, group - 50, group, group + 999}), "#..##");
}

TEST(PanelLedPattern, StopsDarkAfterItsGroups) {
  // Two groups of two 1/1 blinks without rest, then nothing.
  EXPECT_EQ(trace({1, 1, 2, 0, 2}, {0, 100, 200, 300, 400, 500, 600, 700, 800, 100000}),
            "#.#.#.#...");
  // Lit 300 s, then dark for good.
  const LedPattern once{3000, 1, 1, 1, 1};
  EXPECT_EQ(trace(once, {0, 299999, 300000, 300100, 300200, 600000}), "##....");
  // 4000 groups is for ever: still blinking after 4000 groups' time.
  EXPECT_EQ(trace({1, 1, 1, 0, 4000}, {800000, 800100, 900000}), "#.#");
}

TEST(PanelLedPattern, SteadyPatterns) {
  const uint64_t day = 24ull * 3600 * 1000;
  EXPECT_EQ(trace({0, 4000, 1, 0, 4000}, {0, 400000, day}), "...");  // set_led mode 0
  EXPECT_EQ(trace({0, 0, 1, 0, 4000}, {0, day}), "..");              // on = 0 wins over off = 0
  EXPECT_EQ(trace({4000, 0, 1, 0, 4000}, {0, 400000, day}), "###");  // set_led mode 1
  EXPECT_EQ(trace({5, 0, 1, 10, 1}, {0, 499, 1000, day}), "####");   // off = 0: lit
  EXPECT_EQ(trace({1, 1, 0, 5, 4000}, {0, 100, 600}), "...");        // no blinks in a group
  EXPECT_EQ(trace({1, 1, 4000, 0, 0}, {0, 100}), "..");              // no groups
}

TEST(PanelLedPattern, NamesThePatternsTheDaemonsSend) {
  EXPECT_EQ(led_describe({0, 4000, 1, 0, 4000}), "dark");
  EXPECT_EQ(led_describe({4000, 0, 1, 0, 4000}), "lit");
  EXPECT_EQ(led_describe({10, 10, 4000, 0, 4000}), "blink 10/10");
  EXPECT_EQ(led_describe({3, 3, 4000, 0, 4000}), "blink 3/3");
  EXPECT_EQ(led_describe({5, 5, 4000, 1, 4000}), "blink 5/5");
  EXPECT_EQ(led_describe({1, 1, 10, 5, 4000}), "blink 1/1 x10 rest 5");
  EXPECT_EQ(led_describe({1, 4000, 1, 1, 4000}), "blink 1/4001");
  EXPECT_EQ(led_describe({3000, 1, 1, 1, 1}), "blink 3000/2, 1 times");
  EXPECT_EQ(panel::led_numbers({10, 10, 4000, 1, 4000}), "10/10/4000/1/4000");
}

}  // namespace
