// Plays an LED pattern against time the way the GPIO driver does, and
// names it for the panel and the timeline.
#include "sim/panel/led_pattern.h"

#include <cstdio>

namespace panel {

namespace {

bool steady_dark(const LedPattern &p) { return p.on == 0 || p.blinks == 0 || p.times == 0; }
bool steady_lit(const LedPattern &p) { return !steady_dark(p) && p.off == 0; }

}  // namespace

bool led_lit(const LedPattern &p, uint64_t elapsed_ms) {
  if (steady_dark(p)) return false;
  if (steady_lit(p)) return true;
  const uint64_t unit = elapsed_ms / kLedUnitMs;
  const uint64_t cycle = uint64_t{p.on} + p.off;
  const uint64_t blinking = cycle * p.blinks;
  const uint64_t group = blinking + p.rests;
  if (p.times != kLedForever && unit >= group * p.times) return false;
  const uint64_t in_group = unit % group;
  return in_group < blinking && in_group % cycle < p.on;
}

std::string led_describe(const LedPattern &p) {
  if (steady_dark(p)) return "dark";
  if (steady_lit(p)) return "lit";
  // A group of one blink is a blink whose dark phase includes the rest.
  const bool single = p.blinks == 1;
  char text[96];
  int n = std::snprintf(text, sizeof text, "blink %u/%u", p.on, p.off + (single ? p.rests : 0));
  if (!single && p.blinks != kLedForever && p.rests > 0 && n > 0 && size_t(n) < sizeof text) {
    n += std::snprintf(text + n, sizeof text - n, " x%u rest %u", p.blinks, p.rests);
  }
  if (p.times != kLedForever && n > 0 && size_t(n) < sizeof text) {
    std::snprintf(text + n, sizeof text - n, ", %u times", p.times);
  }
  return text;
}

std::string led_numbers(const LedPattern &p) {
  char text[64];
  std::snprintf(text, sizeof text, "%u/%u/%u/%u/%u", p.on, p.off, p.blinks, p.rests, p.times);
  return text;
}

}  // namespace panel
