// Reading a file of key=value lines for `nvram import`: blank lines and
// lines starting with '#' are skipped, values escaped as `nvram show` prints.
#ifndef NVRAM_TOOL_IMPORT_FILE_H
#define NVRAM_TOOL_IMPORT_FILE_H

#include "sets.h"
#include "status.h"

namespace nvram {

// An error naming the file's first problem (a malformed line by its
// number) when the file cannot be used at all; values are then incomplete.
Status read_import_file(const char *path, Values &values);

}  // namespace nvram

#endif
