// Reading and atomically replacing the /tmp status files.
#include "sim/panel/status_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "runtime/unique_fd.h"

namespace panel {

using routerd::unique_fd;

std::optional<std::string> read_status_file(const std::string &path) {
  unique_fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return std::nullopt;
  char buffer[64];
  ssize_t n = read(fd.get(), buffer, sizeof buffer);
  std::string text(buffer, n > 0 ? size_t(n) : 0);
  return text.substr(0, text.find('\n'));
}

bool write_status_file(const std::string &path, const std::string &text) {
  const std::string temporary = path + ".panel";
  const std::string line = text + "\n";
  {
    unique_fd fd(open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.valid() || write(fd.get(), line.data(), line.size()) != ssize_t(line.size())) {
      unlink(temporary.c_str());
      return false;
    }
  }
  if (rename(temporary.c_str(), path.c_str()) == 0) return true;
  unlink(temporary.c_str());
  return false;
}

}  // namespace panel
