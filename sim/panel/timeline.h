// The timeline of a scenario run: every event printed as it comes, with
// its time since the start, and kept so that `expect` can look for text.
#ifndef SIM_PANEL_TIMELINE_H
#define SIM_PANEL_TIMELINE_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace panel {

class Timeline {
 public:
  Timeline(uint64_t start_ms, std::FILE *out) : start_ms_(start_ms), out_(out) {}

  // Prints "[  1.250] EVENT" and keeps the event.
  void add(uint64_t now_ms, std::string_view event);
  // Whether an event at index `from` or later contains text and is
  // something the board did (not an "action: " line).
  bool find(std::string_view text, size_t from) const;
  size_t size() const { return events_.size(); }

 private:
  uint64_t start_ms_;
  std::FILE *out_;
  std::vector<std::string> events_;
};

}  // namespace panel

#endif
