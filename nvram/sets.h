// The three sets (0 "2860", 1 "rtdev", 2 "wifi3"), what a valid key is, and
// the in-memory form of a set: keys mapped to values, sorted by key.
#ifndef NVRAM_SETS_H
#define NVRAM_SETS_H

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace nvram {

using Values = std::map<std::string, std::string, std::less<>>;

inline constexpr int kSetCount = 3;
inline constexpr std::array<std::string_view, kSetCount> kSetNames = {"2860", "rtdev", "wifi3"};

constexpr bool valid_index(int index) { return index >= 0 && index < kSetCount; }

// Non-empty, without '=' or newline (a C string has no NUL anyway).
constexpr bool valid_key(std::string_view key) {
  return !key.empty() && key.find_first_of("=\n") == std::string_view::npos &&
         key.find('\0') == std::string_view::npos;
}

}  // namespace nvram

#endif
