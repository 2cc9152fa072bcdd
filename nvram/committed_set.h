// Reading a set's committed state from the store directory: the file, or
// its last good copy when the file is damaged, or the defaults.
#ifndef NVRAM_COMMITTED_SET_H
#define NVRAM_COMMITTED_SET_H

#include <sys/stat.h>

#include <string>

#include "nvram/set_image.h"

namespace nvram {

// Tells one version of a file from another with a single stat. A commit
// always makes a new file with a later modification time.
struct FileIdentity {
  bool present = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  struct timespec modified = {}, changed = {};

  static FileIdentity of(const struct stat *status);  // nullptr: no file
  bool operator==(const FileIdentity &other) const;
};

struct CommittedSet {
  SetImage image;
  FileIdentity identity;  // of the set's file as read
  bool sound = false;     // the image is the set's file (not its copy or the defaults)
  // Why a file that exists could not be read (not a file found damaged),
  // empty when it was read: its values are unknown, so no commit may
  // replace it.
  std::string read_error;
};

// Files larger than this are damaged: the store is a few KiB.
inline constexpr size_t kMaxFileSize = 1 << 20;

FileIdentity current_identity(int index);
// Damage is reported on standard error, naming the file.
CommittedSet load_committed(int index);
// What readers see: the set's file in a journal left by a cut commit of
// several sets (journal.h), else as load_committed.
CommittedSet load_newest(int index);

}  // namespace nvram

#endif
