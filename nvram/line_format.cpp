// Escaping only ever adds a backslash before a backslash or for a newline,
// so unescaping is a single pass that refuses any other backslash; the text
// between backslashes is copied whole.
#include "nvram/line_format.h"

#include "nvram/sets.h"

namespace nvram {

void append_line(std::string &out, std::string_view key, std::string_view value) {
  out += key;
  out += '=';
  for (;;) {
    size_t special = value.find_first_of("\\\n");
    out.append(value.substr(0, special));
    if (special == std::string_view::npos) break;
    out += value[special] == '\\' ? "\\\\" : "\\n";
    value.remove_prefix(special + 1);
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
  return append_unescaped(line.substr(equals + 1), value);
}

Status append_unescaped(std::string_view escaped, std::string &out) {
  for (;;) {
    size_t backslash = escaped.find('\\');
    out.append(escaped.substr(0, backslash));
    if (backslash == std::string_view::npos) return Status::ok();
    char next = backslash + 1 < escaped.size() ? escaped[backslash + 1] : '\0';
    if (next != '\\' && next != 'n') return Status::error("backslash not followed by '\\' or 'n'");
    out += next == 'n' ? '\n' : '\\';
    escaped.remove_prefix(backslash + 2);
  }
}

}  // namespace nvram
