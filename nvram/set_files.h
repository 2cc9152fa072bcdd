// Where a set lives in the store directory: its committed file, the last
// good copy, their temporaries, and the lock that serialises commits.
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

const char *store_directory();
const SetFiles &set_files(int index);

}  // namespace nvram

#endif
