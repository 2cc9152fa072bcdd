// The store's journal: when one commit writes several sets, their new files
// are first written together as one file, so after a power cut at any
// moment either all of them or none of them are the sets' contents.
#ifndef NVRAM_JOURNAL_H
#define NVRAM_JOURNAL_H

#include <string>
#include <vector>

#include "nvram/status.h"

namespace nvram {

// One set's new file, as it is to replace the set's file.
struct JournalEntry {
  int index;
  std::string bytes;
};
using Journal = std::vector<JournalEntry>;

// Durably in place before any set's file is replaced.
Status write_journal(const Journal &journal);
// not_found when there is no journal; an error saying what is wrong when it
// is damaged.
Status read_journal(Journal &journal);
// The new file of one set when a journal holds it: a commit of several sets
// was cut before every set's file was replaced, and this is the truth.
bool journalled_file(int index, std::string &bytes);
// Once every set's file of the journal has been replaced.
Status remove_journal();

}  // namespace nvram

#endif
