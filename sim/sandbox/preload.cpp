// Placement of the fake driver libraries by their ELF header, in the
// directory Debian's loaders expand $LIB to: lib/x86_64-linux-gnu for
// x86-64, lib/mipsel-linux-gnu for 32-bit little-endian MIPS (qemu-mipsel).
#include "sim/sandbox/preload.h"

#include <elf.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <set>

#include "sim/sandbox/fs_steps.h"
#include "sim/sandbox/setup_error.h"

namespace sandbox {

namespace {

// The $LIB directory for the library's architecture; ends setup for others.
const char *lib_dir_for(const std::string &library) {
  unsigned char header[EI_NIDENT + 4] = {};  // e_ident, e_type, e_machine
  const int fd = open(library.c_str(), O_RDONLY | O_CLOEXEC);
  check(fd >= 0, "open preload library %s", library.c_str());
  const ssize_t length = read(fd, header, sizeof header);
  close(fd);
  if (length != static_cast<ssize_t>(sizeof header) || memcmp(header, ELFMAG, SELFMAG) != 0) {
    setup_failed("preload library %s is not an ELF file", library.c_str());
  }
  const unsigned machine = header[EI_NIDENT + 2] | header[EI_NIDENT + 3] << 8;
  if (header[EI_DATA] == ELFDATA2LSB && header[EI_CLASS] == ELFCLASS64 && machine == EM_X86_64) {
    return "lib/x86_64-linux-gnu";
  }
  if (header[EI_DATA] == ELFDATA2LSB && header[EI_CLASS] == ELFCLASS32 && machine == EM_MIPS) {
    return "lib/mipsel-linux-gnu";
  }
  setup_failed("preload library %s is neither x86-64 nor 32-bit little-endian MIPS",
               library.c_str());
}

}  // namespace

void install_preloads(const std::string &root, const std::vector<std::string> &libraries) {
  std::set<std::string> used;
  for (const std::string &library : libraries) {
    const char *lib_dir = lib_dir_for(library);
    if (!used.insert(lib_dir).second) {
      setup_failed("two preload libraries for %s; give one per architecture", lib_dir);
    }
    const std::string dir = root + "/sim/preload/" + lib_dir;
    make_directories(dir);
    make_empty_file(dir + "/libfakehw.so");
    bind(library, dir + "/libfakehw.so");
  }
}

}  // namespace sandbox
