// The button keys: a held space recognised through the terminal's
// auto-repeat, the press/release latch, and a typed sample count.
#include <gtest/gtest.h>

#include "sim/panel/button_keys.h"

namespace {

using panel::ButtonCommand;
using panel::ButtonKeys;
using Kind = ButtonCommand::Kind;

TEST(PanelButtonKeys, SpaceHoldsWhileTheTerminalRepeatsIt) {
  ButtonKeys keys;
  EXPECT_EQ(keys.space(1000).kind, Kind::hold);
  // Before the first repeat the gap may be long...
  EXPECT_EQ(keys.tick(1000 + ButtonKeys::kFirstRepeatMs).kind, Kind::none);
  EXPECT_EQ(keys.space(1000 + ButtonKeys::kFirstRepeatMs).kind, Kind::none);
  // ...then repeats come often, and the button stays pressed through them.
  uint64_t t = 1000 + ButtonKeys::kFirstRepeatMs;
  for (int i = 0; i < 100; ++i) {
    t += 40;
    EXPECT_EQ(keys.tick(t).kind, Kind::none);
    EXPECT_EQ(keys.space(t).kind, Kind::none);
  }
  EXPECT_TRUE(keys.held());
  EXPECT_EQ(keys.tick(t + ButtonKeys::kRepeatMs).kind, Kind::none);
  EXPECT_EQ(keys.tick(t + ButtonKeys::kRepeatMs + 1).kind, Kind::release);
  EXPECT_FALSE(keys.held());
  EXPECT_EQ(keys.tick(t + 5000).kind, Kind::none);  // released once only
}

TEST(PanelButtonKeys, ATapWithoutRepeatReleasesAfterTheFirstRepeatDelay) {
  ButtonKeys keys;
  keys.space(0);
  EXPECT_EQ(keys.tick(ButtonKeys::kRepeatMs + 1).kind, Kind::none);
  EXPECT_EQ(keys.tick(ButtonKeys::kFirstRepeatMs + 1).kind, Kind::release);
}

TEST(PanelButtonKeys, PToggles) {
  ButtonKeys keys;
  EXPECT_EQ(keys.toggle().kind, Kind::hold);
  EXPECT_EQ(keys.tick(100000).kind, Kind::none);   // a latched press needs no repeats
  EXPECT_EQ(keys.space(100000).kind, Kind::none);  // already pressed: space takes it over
  EXPECT_EQ(keys.toggle().kind, Kind::release);
  EXPECT_EQ(keys.toggle().kind, Kind::hold);
  EXPECT_EQ(keys.toggle().kind, Kind::release);
}

TEST(PanelButtonKeys, ATypedNumberPressesForThatManySamples) {
  ButtonKeys keys;
  keys.toggle();
  for (char c : std::string("30")) keys.digit(c);
  EXPECT_EQ(keys.entry(), "30");
  ButtonCommand c = keys.enter();
  EXPECT_EQ(c.kind, Kind::press);
  EXPECT_EQ(c.samples, 30u);
  EXPECT_FALSE(keys.held());  // the script replaces the latch
  EXPECT_EQ(keys.entry(), "");
  // Editing, the limits, and Enter on nothing.
  for (char c : std::string("1234567")) keys.digit(c);
  EXPECT_EQ(keys.entry(), "12345");
  keys.backspace();
  keys.backspace();
  EXPECT_EQ(keys.enter().samples, 123u);
  EXPECT_EQ(keys.enter().kind, Kind::none);
  keys.digit('0');
  EXPECT_EQ(keys.enter().kind, Kind::none);
  for (char c : std::string("99999")) keys.digit(c);
  EXPECT_EQ(keys.enter().kind, Kind::none);  // beyond the longest script
}

}  // namespace
