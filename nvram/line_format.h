// One key=value line, as in the committed files and the tool's show and
// import: the value is escaped ("\\" for a backslash, "\n" for a newline).
#ifndef NVRAM_LINE_FORMAT_H
#define NVRAM_LINE_FORMAT_H

#include <string>
#include <string_view>

#include "nvram/status.h"

namespace nvram {

// Appends "key=value\n" with the value escaped.
void append_line(std::string &out, std::string_view key, std::string_view value);

// Splits line (without its newline) at the first '=' and unescapes the
// value: ok when the line is well formed, else an error saying what is wrong.
Status parse_line(std::string_view line, std::string &key, std::string &value);

// Appends the unescaped form of an escaped value to out: ok, or an error
// when a backslash is followed by anything but '\\' or 'n'.
Status append_unescaped(std::string_view escaped, std::string &out);

}  // namespace nvram

#endif
