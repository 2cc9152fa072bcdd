// Reading a file of key=value lines for `nvram import`: blank lines and
// lines starting with '#' are skipped, values escaped as `nvram show` prints.
#include "import_file.h"

#include <cstring>

#include "committed_set.h"
#include "file_io.h"
#include "line_format.h"
#include "report.h"

namespace nvram {

const char *parse_import_text(std::string_view text, Values &values, unsigned &line_number) {
  std::string key, value;
  line_number = 0;
  while (!text.empty()) {
    ++line_number;
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.find_first_not_of(" \t\r") == std::string_view::npos || line[0] == '#') continue;
    if (const char *problem = parse_line(line, key, value)) return problem;
    values.insert_or_assign(key, value);
  }
  return nullptr;
}

bool read_import_file(const char *path, Values &values) {
  std::string bytes;
  struct stat status;
  if (int error = read_file(path, kMaxFileSize, bytes, status); error != 0) {
    report("cannot read %s: %s", path, strerror(error));
    return false;
  }
  unsigned number;
  if (const char *problem = parse_import_text(bytes, values, number)) {
    report("%s:%u: %s; nothing imported", path, number, problem);
    return false;
  }
  return true;
}

}  // namespace nvram
