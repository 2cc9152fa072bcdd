// Fuzzes the `nvram import` line format: a text that imports must hold only
// valid keys, and what `nvram show` prints of the imported values must
// import again to the same values.
#include <string>

#include "fuzz/fuzz_check.h"
#include "nvram/import_file.h"
#include "nvram/line_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  nvram::Values values;
  unsigned line = 0;
  if (!nvram::parse_import_text(fuzz::as_text(data, size), values, line).is_ok()) {
    FUZZ_CHECK(line >= 1);
    return 0;
  }
  std::string shown;
  for (const auto &[key, value] : values) {
    // A line starting with '#' is a comment, never a key.
    FUZZ_CHECK(nvram::valid_key(key) && key[0] != '#');
    nvram::append_line(shown, key, value);
  }
  nvram::Values again;
  FUZZ_CHECK(nvram::parse_import_text(shown, again, line).is_ok());
  FUZZ_CHECK(again == values);
  return 0;
}
