// The C entry points of the store (nvram.h): argument checks, then the
// process's view of the sets (store.h).
#include <nvram.h>

#include "intern.h"
#include "report.h"
#include "sets.h"
#include "store.h"

namespace {

bool valid_call(int index, const char *key) {
  return nvram::valid_index(index) && key != nullptr && nvram::valid_key(key);
}

}  // namespace

extern "C" {

const char *nvram_bufget(int index, const char *key) {
  if (!valid_call(index, key)) return "";
  return nvram::intern(nvram::get_value(index, key));
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
  return nvram::commit_set(index) ? 0 : -1;
}

int nvram_init(int index) { return nvram::valid_index(index) ? 0 : -1; }

void nvram_close(int) {}

}  // extern "C"
