// Checked filesystem steps for building the sandbox's root: directories,
// empty files, links, FIFOs and mounts. A failing step ends the sandbox
// with a message naming it (setup_error.h).
#ifndef SIM_SANDBOX_FS_STEPS_H
#define SIM_SANDBOX_FS_STEPS_H

#include <sys/types.h>

#include <string>

namespace sandbox {

// Creates path and its missing parents.
void make_directories(const std::string &path, mode_t mode = 0755);
void make_empty_file(const std::string &path, mode_t mode = 0644);
void make_symlink(const std::string &target, const std::string &link);
void make_fifo(const std::string &path, mode_t mode);

void mount_fresh(const char *type, const std::string &target, const char *options = nullptr);
// Binds source (a file or a directory tree) over target, which must exist.
void bind(const std::string &source, const std::string &target);

}  // namespace sandbox

#endif
