// Reading a set's committed state from the store directory: the file, or
// its last good copy when the file is damaged, or the defaults.
#include "committed_set.h"

#include <cerrno>
#include <cstring>

#include "defaults.h"
#include "file_format.h"
#include "file_io.h"
#include "report.h"
#include "set_files.h"

namespace nvram {
namespace {

bool same_time(const struct timespec &a, const struct timespec &b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Reads and checks the last good copy; nullptr when sound, else what is wrong.
const char *read_backup(const char *path, Values &values) {
  std::string bytes;
  struct stat status;
  int error = read_file(path, kMaxFileSize, bytes, status);
  return error != 0 ? strerror(error) : decode_set(bytes, values);
}

}  // namespace

FileIdentity FileIdentity::of(const struct stat *status) {
  if (!status) return {};
  return {true, status->st_dev, status->st_ino, status->st_size, status->st_mtim, status->st_ctim};
}

bool FileIdentity::operator==(const FileIdentity &other) const {
  if (present != other.present) return false;
  return !present || (device == other.device && inode == other.inode && size == other.size &&
                      same_time(modified, other.modified) && same_time(changed, other.changed));
}

FileIdentity current_identity(int index) {
  struct stat status;
  return FileIdentity::of(stat(set_files(index).file, &status) == 0 ? &status : nullptr);
}

CommittedSet load_committed(int index) {
  const SetFiles &files = set_files(index);
  CommittedSet set;
  struct stat status = {};
  int error = read_file(files.file, kMaxFileSize, set.sound_bytes, status);
  if (error == ENOENT) {
    set.values = default_values(index);
    return set;
  }
  set.identity = FileIdentity::of(&status);
  if (error != 0 && error != EFBIG) set.read_error = error;
  const char *problem = error != 0 ? strerror(error) : decode_set(set.sound_bytes, set.values);
  if (problem == nullptr) {
    set.sound = true;
    return set;
  }
  set.sound_bytes.clear();
  const char *backup_problem = read_backup(files.backup, set.values);
  if (backup_problem == nullptr) {
    report("%s is damaged (%s); using the last good copy %s", files.file, problem, files.backup);
    return set;
  }
  report(
      "%s is damaged (%s) and its last good copy %s cannot be used either (%s); using the defaults",
      files.file, problem, files.backup, backup_problem);
  set.values = default_values(index);
  return set;
}

}  // namespace nvram
