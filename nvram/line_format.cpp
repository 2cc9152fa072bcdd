// Escaping only ever adds a backslash before a backslash or for a newline,
// so unescaping is a single pass that refuses any other backslash.
#include "nvram/line_format.h"

#include "nvram/sets.h"

namespace nvram {

void append_line(std::string &out, std::string_view key, std::string_view value) {
  out += key;
  out += '=';
  for (char c : value) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  out += '\n';
}

Status parse_line(std::string_view line, std::string &key, std::string &value) {
  if (line.find('\0') != std::string_view::npos) return Status::error("NUL byte in line");
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return Status::error("no '=' in line");
  key.assign(line.substr(0, equals));
  if (!valid_key(key)) return Status::error("empty key");
  value.clear();
  for (size_t i = equals + 1; i < line.size(); ++i) {
    if (line[i] != '\\') {
      value += line[i];
    } else if (i + 1 < line.size() && line[i + 1] == '\\') {
      value += '\\';
      ++i;
    } else if (i + 1 < line.size() && line[i + 1] == 'n') {
      value += '\n';
      ++i;
    } else {
      return Status::error("backslash not followed by '\\' or 'n'");
    }
  }
  return Status::ok();
}

}  // namespace nvram
