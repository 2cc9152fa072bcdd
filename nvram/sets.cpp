// The three sets (0 "2860", 1 "rtdev", 2 "wifi3"), what a valid key is, and
// the in-memory form of a set: keys mapped to values, sorted by key.
#include "sets.h"

namespace nvram {

int parse_set(std::string_view word) {
  for (int index = 0; index < kSetCount; ++index) {
    if (word == kSetNames[index] || (word.size() == 1 && word[0] == '0' + index)) return index;
  }
  return -1;
}

}  // namespace nvram
