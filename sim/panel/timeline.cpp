// Printing and searching the timeline.
#include "sim/panel/timeline.h"

namespace panel {

void Timeline::add(uint64_t now_ms, std::string_view event) {
  const uint64_t ms = now_ms > start_ms_ ? now_ms - start_ms_ : 0;
  std::fprintf(out_, "[%3llu.%03llu] %.*s\n", static_cast<unsigned long long>(ms / 1000),
               static_cast<unsigned long long>(ms % 1000), int(event.size()), event.data());
  std::fflush(out_);
  events_.emplace_back(event);
}

bool Timeline::find(std::string_view text, size_t from) const {
  for (size_t i = from; i < events_.size(); ++i) {
    if (!events_[i].starts_with("action: ") && events_[i].find(text) != std::string::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace panel
