// Reading a file of key=value lines for `nvram import`: blank lines and
// lines starting with '#' are skipped, values escaped as `nvram show` prints.
#include "import_file.h"

#include <cstring>

#include "committed_set.h"
#include "file_io.h"
#include "line_format.h"
#include "report.h"

namespace nvram {

bool read_import_file(const char *path, Values &values) {
  std::string bytes;
  struct stat status;
  if (int error = read_file(path, kMaxFileSize, bytes, status); error != 0) {
    report("cannot read %s: %s", path, strerror(error));
    return false;
  }
  std::string_view rest = bytes;
  std::string key, value;
  for (unsigned number = 1; !rest.empty(); ++number) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (line.find_first_not_of(" \t\r") == std::string_view::npos || line[0] == '#') continue;
    if (const char *problem = parse_line(line, key, value)) {
      report("%s:%u: %s; nothing imported", path, number, problem);
      return false;
    }
    values.insert_or_assign(key, value);
  }
  return true;
}

}  // namespace nvram
