// One stat per read tells whether another process committed; a commit
// re-reads the file under the sets' locks, so changes of others are kept.
#include "nvram/store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "nvram/committed_set.h"
#include "nvram/file_io.h"
#include "nvram/journal.h"
#include "nvram/set_files.h"

namespace nvram {
namespace {

struct SetState {
  bool loaded = false;
  FileIdentity identity;  // of the file `committed` was read from
  SetImage committed;
  // Keys this process changed since its last commit: a value, or none when unset.
  std::map<std::string, std::optional<std::string>, std::less<>> changes;
};

std::array<SetState, kSetCount> &states() {
  static std::array<SetState, kSetCount> states;
  return states;
}

// The set with its committed values up to date: one stat when nothing changed.
SetState &current(int index) {
  SetState &state = states()[index];
  if (!state.loaded || !(current_identity(index) == state.identity)) {
    CommittedSet set = load_newest(index);
    state.committed = std::move(set.image);
    state.identity = set.identity;
    state.loaded = true;
  }
  return state;
}

void apply_changes(const SetState &state, Values &values) {
  for (const auto &[key, value] : state.changes) {
    if (value) {
      values.insert_or_assign(key, *value);
    } else if (auto found = values.find(key); found != values.end()) {
      values.erase(found);
    }
  }
}

void change(int index, std::string_view key, std::optional<std::string> value) {
  auto &changes = states()[index].changes;
  auto found = changes.find(key);
  if (found != changes.end()) {
    found->second = std::move(value);
  } else {
    changes.emplace(key, std::move(value));
  }
}

// The commit of a set whose file is to be replaced by merged.file().
struct SetWrite {
  int index;
  SetImage merged;
  CommittedSet on_disk;
};

// Replaces the set's file, keeping the file it replaces as the last good copy.
Status install(int index, const CommittedSet &on_disk, std::string_view bytes) {
  const SetFiles &files = set_files(index);
  const char *dir = store_directory();
  if (on_disk.sound) {
    Status backed_up =
        replace_file(dir, files.backup_temp, files.backup, on_disk.image.file(), nullptr);
    if (!backed_up.is_ok()) return backed_up;
  }
  const FileIdentity &old = on_disk.identity;
  return replace_file(dir, files.temp, files.file, bytes, old.present ? &old.modified : nullptr);
}

// Finishes a commit of several sets that was cut after its journal was
// written: the journal's files replace the sets' files.
Status settle_journal() {
  Journal journal;
  Status read = read_journal(journal);
  if (read.is_not_found()) return Status::ok();
  if (read.is_ok()) {
    for (const JournalEntry &entry : journal) {
      Status installed = install(entry.index, load_committed(entry.index), entry.bytes);
      if (!installed.is_ok()) return installed;
    }
  } else {
    report("%s is damaged (%s); removed, the sets' own files are used", journal_files().file,
           read.message().c_str());
  }
  return remove_journal();
}

// The committed file as it is now, plus this process's changes; nothing
// when that is what the file already holds, so flash is not worn for it.
Status prepare(int index, std::vector<SetWrite> &writes) {
  SetState &state = states()[index];
  CommittedSet on_disk = load_committed(index);
  if (!on_disk.read_error.empty()) {
    return Status::error("cannot read %s: %s; set %d not committed", set_files(index).file,
                         on_disk.read_error.c_str(), index);
  }
  const Values committed = on_disk.image.values();
  Values merged = committed;
  apply_changes(state, merged);
  if (on_disk.sound && merged == committed) {
    state.committed = std::move(on_disk.image);
    state.identity = on_disk.identity;
    state.loaded = true;
    state.changes.clear();
    return Status::ok();
  }
  SetImage image = SetImage::of(merged);
  if (image.file().size() > kMaxFileSize) {
    return Status::error(
        "set %d would be %zu bytes, more than the %zu the store holds;"
        " not committed",
        index, image.file().size(), kMaxFileSize);
  }
  writes.push_back({index, std::move(image), std::move(on_disk)});
  return Status::ok();
}

// Under the locks of all sets. This process's changes to other sets are
// committed with this one: a caller that changed several sets and commits
// them one after another gets all of them or none after a power cut.
Status write_sets(int index) {
  Status settled = settle_journal();
  if (!settled.is_ok()) return settled;
  std::vector<SetWrite> writes;
  for (int other = 0; other < kSetCount; ++other) {
    if (other != index && states()[other].changes.empty()) continue;
    Status prepared = prepare(other, writes);
    if (!prepared.is_ok()) return prepared;
  }
  const bool journalled = writes.size() > 1;
  if (journalled) {
    Journal journal;
    for (const SetWrite &write : writes) {
      journal.push_back({write.index, std::string(write.merged.file())});
    }
    Status written = write_journal(journal);
    if (!written.is_ok()) return written;
  }
  for (SetWrite &write : writes) {
    Status installed = install(write.index, write.on_disk, write.merged.file());
    if (!installed.is_ok()) return installed;
    SetState &state = states()[write.index];
    state.committed = std::move(write.merged);
    state.identity = current_identity(write.index);
    state.loaded = true;
    state.changes.clear();
  }
  return journalled ? remove_journal() : Status::ok();
}

// Commits take every set's lock, in the sets' order, so a commit that
// writes several sets never meets another commit half way.
class AllSetsLocked {
 public:
  Status acquire() {
    for (int index = 0; index < kSetCount; ++index) {
      const char *path = set_files(index).lock;
      fds_[index] = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
      if (fds_[index] < 0) return Status::error("cannot open lock %s: %s", path, strerror(errno));
      while (flock(fds_[index], LOCK_EX) != 0) {
        if (errno != EINTR) return Status::error("cannot lock %s: %s", path, strerror(errno));
      }
    }
    return Status::ok();
  }
  ~AllSetsLocked() {
    for (int fd : fds_) {
      if (fd >= 0) close(fd);
    }
  }

 private:
  std::array<int, kSetCount> fds_ = {-1, -1, -1};
};

}  // namespace

std::string_view get_value(int index, std::string_view key) {
  SetState &state = current(index);
  if (auto changed = state.changes.find(key); changed != state.changes.end()) {
    return changed->second ? std::string_view(*changed->second) : std::string_view();
  }
  return state.committed.value(key);
}

void set_value(int index, std::string_view key, std::string_view value) {
  change(index, key, std::string(value));
}

void unset_value(int index, std::string_view key) { change(index, key, std::nullopt); }

Values all_values(int index) {
  SetState &state = current(index);
  Values values = state.committed.values();
  apply_changes(state, values);
  return values;
}

Status commit_set(int index) {
  Status directory = make_directories(store_directory());
  if (!directory.is_ok()) return directory;
  AllSetsLocked locks;
  Status locked = locks.acquire();
  return locked.is_ok() ? write_sets(index) : locked;
}

}  // namespace nvram
