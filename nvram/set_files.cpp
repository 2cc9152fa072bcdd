// The paths are joined at compile time from the build's NVRAM_DIR and the
// set names, so no path is ever formatted at run time.
#include "nvram/set_files.h"

#include "nvram/sets.h"

#define NVRAM_SET_FILES(name)                                                 \
  {                                                                           \
    NVRAM_DIR "/" name, NVRAM_DIR "/" name ".bak", NVRAM_DIR "/" name ".tmp", \
        NVRAM_DIR "/" name ".bak.tmp", NVRAM_DIR "/" name ".lock"             \
  }

namespace nvram {
namespace {

constexpr SetFiles kFiles[kSetCount] = {
    NVRAM_SET_FILES("2860"),
    NVRAM_SET_FILES("rtdev"),
    NVRAM_SET_FILES("wifi3"),
};

constexpr JournalFiles kJournal = {NVRAM_DIR "/journal", NVRAM_DIR "/journal.tmp"};

}  // namespace

const char *store_directory() { return NVRAM_DIR; }

const SetFiles &set_files(int index) { return kFiles[index]; }

const JournalFiles &journal_files() { return kJournal; }

}  // namespace nvram
