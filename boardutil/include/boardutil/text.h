// Comparing a text of the system (a configuration value, an interface name)
// with an expected one; shared by the library and both daemons.
#ifndef BOARDUTIL_TEXT_H
#define BOARDUTIL_TEXT_H

#include <string.h>

namespace boardutil {

// True when text is exactly expected; a null text equals nothing.
inline bool text_is(const char *text, const char *expected) {
  return text != nullptr && strcmp(text, expected) == 0;
}

}  // namespace boardutil

#endif
