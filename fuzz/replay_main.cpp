// Replays fuzz inputs without libFuzzer: each argument is a file or a
// directory of files, and every file is passed once to the target. Linked
// into the plain build's fuzz targets so the test suite replays the corpus.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"

namespace {

bool read_whole(const std::string &path, std::string &bytes) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[4096];
  ssize_t count;
  while ((count = read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, count);
  close(fd);
  return count == 0;
}

void collect(const std::string &path, std::vector<std::string> &files) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    files.push_back(path);
    return;
  }
  DIR *dir = opendir(path.c_str());
  if (dir == nullptr) return files.push_back(path);
  while (dirent *entry = readdir(dir)) {
    if (entry->d_name[0] != '.') collect(path + "/" + entry->d_name, files);
  }
  closedir(dir);
}

}  // namespace

int main(int argc, char **argv) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) collect(argv[i], files);
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    fprintf(stderr, "usage: %s FILE|DIR...: no input to replay\n", argv[0]);
    return 2;
  }
  for (const std::string &file : files) {
    std::string bytes;
    if (!read_whole(file, bytes)) {
      fprintf(stderr, "cannot read %s\n", file.c_str());
      return 2;
    }
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
  }
  printf("replayed %zu inputs\n", files.size());
  return 0;
}
