// One stat per read tells whether another process committed; a commit
// re-reads the file under the set's lock, so changes of others are kept.
#include "store.h"

#include <fcntl.h>
#include <sys/file.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>

#include "committed_set.h"
#include "unique_fd.h"
#include "file_format.h"
#include "file_io.h"
#include "set_files.h"

namespace nvram {
namespace {

struct SetState {
  bool loaded = false;
  FileIdentity identity;  // of the file `committed` was read from
  Values committed;
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
    CommittedSet set = load_committed(index);
    state.committed = std::move(set.values);
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

// Under the set's lock: the committed file as it is now, plus our changes.
Status write_merged(int index, SetState &state) {
  const SetFiles &files = set_files(index);
  CommittedSet on_disk = load_committed(index);
  Values merged = std::move(on_disk.values);
  apply_changes(state, merged);
  std::string bytes = encode_set(merged);
  if (bytes.size() > kMaxFileSize) {
    return Status::error("set %d would be %zu bytes, more than the %zu the store holds;"
                         " not committed",
                         index, bytes.size(), kMaxFileSize);
  }
  const char *dir = store_directory();
  if (on_disk.sound) {
    Status backed_up =
        replace_file(dir, files.backup_temp, files.backup, on_disk.sound_bytes, nullptr);
    if (!backed_up.is_ok()) return backed_up;
  }
  const FileIdentity &old = on_disk.identity;
  Status written =
      replace_file(dir, files.temp, files.file, bytes, old.present ? &old.modified : nullptr);
  if (!written.is_ok()) return written;
  state.committed = std::move(merged);
  state.identity = current_identity(index);
  state.loaded = true;
  state.changes.clear();
  return Status::ok();
}

}  // namespace

std::string_view get_value(int index, std::string_view key) {
  SetState &state = current(index);
  if (auto changed = state.changes.find(key); changed != state.changes.end()) {
    return changed->second ? std::string_view(*changed->second) : std::string_view();
  }
  auto found = state.committed.find(key);
  return found != state.committed.end() ? std::string_view(found->second) : std::string_view();
}

void set_value(int index, std::string_view key, std::string_view value) {
  change(index, key, std::string(value));
}

void unset_value(int index, std::string_view key) { change(index, key, std::nullopt); }

Values all_values(int index) {
  SetState &state = current(index);
  Values values = state.committed;
  apply_changes(state, values);
  return values;
}

Status commit_set(int index) {
  Status directory = make_directories(store_directory());
  if (!directory.is_ok()) return directory;
  const char *lock_path = set_files(index).lock;
  routerd::unique_fd lock(open(lock_path, O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!lock.valid()) return Status::error("cannot open lock %s: %s", lock_path, strerror(errno));
  while (flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return Status::error("cannot lock %s: %s", lock_path, strerror(errno));
  }
  return write_merged(index, states()[index]);
}

}  // namespace nvram
