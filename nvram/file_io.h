// Whole-file reads with a size bound, and durable replacement of a file:
// temporary file, fsync, rename over the old one, fsync of the directory.
#ifndef NVRAM_FILE_IO_H
#define NVRAM_FILE_IO_H

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "nvram/status.h"
#include "runtime/heap_bytes.h"

namespace nvram {

// The bytes of a whole file, in one block read straight into: nothing is
// cleared or copied on the way.
class FileBytes {
 public:
  FileBytes() = default;
  explicit FileBytes(std::string_view bytes);  // a copy, for bytes made in memory

  std::string_view view() const { return {data_.get(), size_}; }

 private:
  friend Status read_file(const char *path, size_t max, FileBytes &bytes, struct stat &identity);
  routerd::heap_bytes data_;
  size_t size_ = 0;
};

// Reads all of path into bytes. not_found when there is no file; an error
// whose message is the system's text for the failure ("File too large" when
// the file is larger than max). identity gets the file's status whenever
// the file exists.
Status read_file(const char *path, size_t max, FileBytes &bytes, struct stat &identity);

// Puts bytes in place of path through temp in directory dir. When
// newer_than is given, the new file's modification time is made later than
// it, so every version of a file differs from the one before in its status.
// The error names the step that failed and the file.
Status replace_file(const char *dir, const char *temp, const char *path, std::string_view bytes,
                    const struct timespec *newer_than);

// Makes the directory's entries (renames, removals) durable.
Status flush_directory(const char *dir);

// Creates path and its missing parents (mkdir -p).
Status make_directories(const char *path);

}  // namespace nvram

#endif
