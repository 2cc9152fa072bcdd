// A damaged file is reported here, where the copy to use instead is chosen;
// the caller always gets values to work with.
#include "nvram/committed_set.h"

#include "nvram/defaults.h"
#include "nvram/file_io.h"
#include "nvram/journal.h"
#include "nvram/set_files.h"
#include "nvram/status.h"

namespace nvram {
namespace {

bool same_time(const struct timespec &a, const struct timespec &b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Reads and checks the last good copy: ok when it is sound.
Status read_backup(const char *path, SetImage &image) {
  FileBytes bytes;
  struct stat status;
  Status read = read_file(path, kMaxFileSize, bytes, status);
  return read.is_ok() ? image.parse(std::move(bytes)) : read;
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
  FileBytes bytes;
  Status read = read_file(files.file, kMaxFileSize, bytes, status);
  if (read.is_not_found()) {
    set.image = SetImage::of(default_values(index));
    return set;
  }
  set.identity = FileIdentity::of(&status);
  // A file too large to be the store's is damaged; one that exists but
  // cannot be read has unknown values.
  bool too_large = static_cast<unsigned long long>(status.st_size) > kMaxFileSize;
  if (!read.is_ok() && !too_large) set.read_error = read.message();
  Status problem = read.is_ok() ? set.image.parse(std::move(bytes)) : read;
  if (problem.is_ok()) {
    set.sound = true;
    return set;
  }
  Status backup_problem = read_backup(files.backup, set.image);
  if (backup_problem.is_ok()) {
    report("%s is damaged (%s); using the last good copy %s", files.file, problem.message().c_str(),
           files.backup);
    return set;
  }
  report(
      "%s is damaged (%s) and its last good copy %s cannot be used either (%s); using the defaults",
      files.file, problem.message().c_str(), files.backup, backup_problem.message().c_str());
  set.image = SetImage::of(default_values(index));
  return set;
}

CommittedSet load_newest(int index) {
  std::string journalled;
  CommittedSet set;
  if (!journalled_file(index, journalled) || !set.image.parse(FileBytes(journalled)).is_ok()) {
    return load_committed(index);
  }
  set.identity = current_identity(index);
  return set;
}

}  // namespace nvram
