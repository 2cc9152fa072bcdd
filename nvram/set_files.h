// Where a set lives in the store directory: its committed file, the last
// good copy, their temporaries, and the lock that serialises commits; and
// the journal of commits that write several sets.
#ifndef NVRAM_SET_FILES_H
#define NVRAM_SET_FILES_H

namespace nvram {

struct SetFiles {
  const char *file;         // DIR/2860
  const char *backup;       // DIR/2860.bak: the committed file before the last commit
  const char *temp;         // DIR/2860.tmp
  const char *backup_temp;  // DIR/2860.bak.tmp
  const char *lock;         // DIR/2860.lock
};

// The journal of commits that write several sets (journal.h).
struct JournalFiles {
  const char *file;  // DIR/journal
  const char *temp;  // DIR/journal.tmp
};

const char *store_directory();
const SetFiles &set_files(int index);
const JournalFiles &journal_files();

}  // namespace nvram

#endif
