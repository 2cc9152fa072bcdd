// The whole file is read first (bounded like a set file), then split into
// lines; the first bad line stops the import before anything is stored.
#include "nvram/import_file.h"

#include "nvram/committed_set.h"
#include "nvram/file_io.h"
#include "nvram/line_format.h"

namespace nvram {

Status parse_import_text(std::string_view text, Values &values, unsigned &line_number) {
  std::string key, value;
  line_number = 0;
  while (!text.empty()) {
    ++line_number;
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.find_first_not_of(" \t\r") == std::string_view::npos || line[0] == '#') continue;
    if (Status problem = parse_line(line, key, value); !problem.is_ok()) return problem;
    values.insert_or_assign(key, value);
  }
  return Status::ok();
}

Status read_import_file(const char *path, Values &values) {
  FileBytes bytes;
  struct stat status;
  if (Status read = read_file(path, kMaxFileSize, bytes, status); !read.is_ok()) {
    return Status::error("cannot read %s: %s", path, read.message().c_str());
  }
  unsigned number;
  if (Status problem = parse_import_text(bytes.view(), values, number); !problem.is_ok()) {
    return Status::error("%s:%u: %s; nothing imported", path, number, problem.message().c_str());
  }
  return Status::ok();
}

}  // namespace nvram
