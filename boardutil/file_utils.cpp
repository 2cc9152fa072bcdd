// Small file helpers: an integer read from the start of a file, the size of
// a file, and a line-wise copy that leaves the destination alone when the
// source cannot be read.
#include "boardutil/file_utils.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/unique_fd.h"

namespace {

constexpr size_t kIntFileBytes = 16;
constexpr int kCopyPiece = 1024;

}  // namespace

extern "C" int file_read_int(const char *path) {
  if (path == nullptr) {
    printf("url is empty! \n");
    return -1;
  }
  routerd::unique_fd fd(open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid()) {
    printf("open the file %s is failed! fd=%d \n", path, fd.get());
    return -1;
  }
  // One byte more than is read, so the text is always terminated.
  char text[kIntFileBytes + 1] = {};
  ssize_t got = read(fd.get(), text, kIntFileBytes);
  if (got < 0) {
    printf("read the file %s is failed! \n", path);
    return -1;
  }
  // The last character is the line end of a file written by echo.
  size_t length = strlen(text);
  if (length > 0) text[length - 1] = '\0';
  return atoi(text);
}

extern "C" int get_file_size(const char *path) {
  struct stat status;
  if (stat(path, &status) != 0) return -1;
  // A size an int cannot tell is reported as a failure, not as a wrong size.
  if (status.st_size > INT_MAX) return -1;
  return static_cast<int>(status.st_size);
}

extern "C" int copy_file(const char *source, const char *destination) {
  // The source is opened first: a missing source must not empty the
  // destination.
  FILE *in = fopen(source, "re");
  if (in == nullptr) return 0;
  FILE *out = fopen(destination, "we");
  if (out == nullptr) {
    fclose(in);
    return 0;
  }
  char piece[kCopyPiece];
  while (fgets(piece, sizeof piece, in) != nullptr) fputs(piece, out);
  fclose(in);
  fclose(out);
  return 0;
}
