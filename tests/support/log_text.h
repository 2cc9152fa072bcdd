// Counting a text in a log or a console transcript, for the sandbox's tests
// and the virtual board's alike: every place it starts counts, so
// overlapping ones count too.
#ifndef TESTS_SUPPORT_LOG_TEXT_H
#define TESTS_SUPPORT_LOG_TEXT_H

#include <cstddef>
#include <string_view>

namespace testbed {

inline size_t count(std::string_view text, std::string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

}  // namespace testbed

#endif
