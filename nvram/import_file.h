// Reading a file of key=value lines for `nvram import`: blank lines and
// lines starting with '#' are skipped, values escaped as `nvram show` prints.
#ifndef NVRAM_IMPORT_FILE_H
#define NVRAM_IMPORT_FILE_H

#include <string_view>

#include "nvram/sets.h"
#include "nvram/status.h"

namespace nvram {

// Adds the text's lines to values (a later line of a key wins); an error
// saying what is wrong with the first malformed line, whose number (from 1)
// is then in line_number.
Status parse_import_text(std::string_view text, Values &values, unsigned &line_number);

// An error naming the file's first problem (a malformed line by its
// number) when the file cannot be used at all; values are then incomplete.
Status read_import_file(const char *path, Values &values);

}  // namespace nvram

#endif
