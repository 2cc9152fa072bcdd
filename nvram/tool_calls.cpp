// The C entry points for tools (nvram_tool.h): unset, show and import, on
// the same view of the sets as the six calls of nvram.h.
#include <nvram_tool.h>

#include <string>

#include "nvram/import_file.h"
#include "nvram/line_format.h"
#include "nvram/sets.h"
#include "nvram/status.h"
#include "nvram/store.h"

extern "C" {

int nvram_unset(int index, const char *key) {
  if (!nvram::valid_index(index) || key == nullptr || !nvram::valid_key(key)) return -1;
  nvram::unset_value(index, key);
  return 0;
}

int nvram_show(int index, FILE *out) {
  if (!nvram::valid_index(index)) return -1;
  std::string text;
  for (const auto &[key, value] : nvram::all_values(index)) nvram::append_line(text, key, value);
  fwrite(text.data(), 1, text.size(), out);
  return 0;
}

int nvram_import(int index, const char *path) {
  if (!nvram::valid_index(index)) {
    nvram::report("import: unknown set %d", index);
    return -1;
  }
  nvram::Values values;
  if (nvram::Status read = nvram::read_import_file(path, values); !read.is_ok()) {
    nvram::report(read);
    return -1;
  }
  for (const auto &[key, value] : values) nvram::set_value(index, key, value);
  return 0;
}

}  // extern "C"
