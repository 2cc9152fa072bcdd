// The journal is itself a set file (file_format.h) whose keys are the sets'
// names and whose values are their new files, so it is checked by the same
// length and checksum; it is written by the same durable replacement.
#include "nvram/journal.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "nvram/committed_set.h"
#include "nvram/file_format.h"
#include "nvram/file_io.h"
#include "nvram/set_files.h"

namespace nvram {

Status write_journal(const Journal &journal) {
  Values files;
  for (const JournalEntry &entry : journal) files.emplace(kSetNames[entry.index], entry.bytes);
  return replace_file(store_directory(), journal_files().temp, journal_files().file,
                      encode_set(files), nullptr);
}

Status read_journal(Journal &journal) {
  journal.clear();
  FileBytes bytes;
  struct stat status;
  Status read = read_file(journal_files().file, kSetCount * kMaxFileSize, bytes, status);
  if (!read.is_ok()) return read;
  Values files;
  Status decoded = decode_set(bytes.view(), files);
  if (!decoded.is_ok()) return decoded;
  for (auto &[name, file] : files) {
    int index = 0;
    while (index < kSetCount && kSetNames[index] != name) ++index;
    if (index == kSetCount) return Status::error("names an unknown set");
    journal.push_back({index, std::move(file)});
  }
  return Status::ok();
}

bool journalled_file(int index, std::string &bytes) {
  Journal journal;
  Status read = read_journal(journal);
  if (!read.is_ok()) {
    if (!read.is_not_found()) {
      report("%s is damaged (%s); the sets' own files are used", journal_files().file,
             read.message().c_str());
    }
    return false;
  }
  for (JournalEntry &entry : journal) {
    if (entry.index == index) {
      bytes = std::move(entry.bytes);
      return true;
    }
  }
  return false;
}

Status remove_journal() {
  if (unlink(journal_files().file) != 0 && errno != ENOENT) {
    return Status::error("cannot remove %s: %s", journal_files().file, strerror(errno));
  }
  return flush_directory(store_directory());
}

}  // namespace nvram
