// The C entry points of the store (nvram.h): argument checks, then the
// process's view of the sets (store.h); failures are reported here.
#include <nvram.h>

#include <functional>
#include <set>
#include <string>

#include "nvram/sets.h"
#include "nvram/status.h"
#include "nvram/store.h"

namespace {

bool valid_call(int index, const char *key) {
  return nvram::valid_index(index) && key != nullptr && nvram::valid_key(key);
}

// One stable copy of each distinct text handed out by nvram_bufget: the
// same text always yields the same pointer, valid for the life of the
// process. Nodes of a std::set never move, so neither do the strings in them.
const char *intern(std::string_view text) {
  static std::set<std::string, std::less<>> texts;
  auto found = texts.find(text);
  if (found == texts.end()) found = texts.emplace(text).first;
  return found->c_str();
}

}  // namespace

extern "C" {

const char *nvram_bufget(int index, const char *key) {
  if (!valid_call(index, key)) return "";
  return intern(nvram::get_value(index, key));
}

int nvram_bufset(int index, const char *key, const char *value) {
  if (!valid_call(index, key) || value == nullptr) {
    nvram::report(
        "nvram_bufset(%d, \"%s\", %s): refused (sets are 0-2; a key is not empty and"
        " has no '=' or newline)",
        index, key ? key : "(null)", value ? "..." : "(null)");
    return -1;
  }
  nvram::set_value(index, key, value);
  return 0;
}

int nvram_set(int index, const char *key, const char *value) {
  if (nvram_bufset(index, key, value) != 0) return -1;
  return nvram_commit(index);
}

int nvram_commit(int index) {
  if (!nvram::valid_index(index)) return -1;
  nvram::Status committed = nvram::commit_set(index);
  if (committed.is_ok()) return 0;
  nvram::report(committed);
  return -1;
}

int nvram_init(int index) { return nvram::valid_index(index) ? 0 : -1; }

void nvram_close(int) {}

}  // extern "C"
