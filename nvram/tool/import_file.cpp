// The whole file is read first (bounded like a set file), then split into
// lines; the first bad line stops the import before anything is stored.
#include "import_file.h"

#include "committed_set.h"
#include "file_io.h"
#include "line_format.h"

namespace nvram {

Status read_import_file(const char *path, Values &values) {
  std::string bytes;
  struct stat status;
  if (Status read = read_file(path, kMaxFileSize, bytes, status); !read.is_ok()) {
    return Status::error("cannot read %s: %s", path, read.message().c_str());
  }
  std::string_view rest = bytes;
  std::string key, value;
  for (unsigned number = 1; !rest.empty(); ++number) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (line.find_first_not_of(" \t\r") == std::string_view::npos || line[0] == '#') continue;
    if (Status problem = parse_line(line, key, value); !problem.is_ok()) {
      return Status::error("%s:%u: %s; nothing imported", path, number, problem.message().c_str());
    }
    values.insert_or_assign(key, value);
  }
  return Status::ok();
}

}  // namespace nvram
