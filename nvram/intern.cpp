// One stable copy of each distinct text handed out by nvram_bufget: the
// same text always yields the same pointer, valid for the life of the process.
#include "intern.h"

#include <functional>
#include <set>
#include <string>

namespace nvram {

const char *intern(std::string_view text) {
  // Nodes of a std::set never move, so neither do the strings in them.
  static std::set<std::string, std::less<>> texts;
  auto found = texts.find(text);
  if (found == texts.end()) found = texts.emplace(text).first;
  return found->c_str();
}

}  // namespace nvram
