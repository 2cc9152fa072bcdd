// This process's view of the sets: the committed values (reloaded when
// another process commits) overlaid with its own changes not yet committed,
// and the commit that merges those changes into the committed file.
// Callers check the index and key first (sets.h).
#ifndef NVRAM_STORE_H
#define NVRAM_STORE_H

#include <string_view>

#include "nvram/sets.h"
#include "nvram/status.h"

namespace nvram {

// "" for a key that is not set. Valid until this process changes the set.
std::string_view get_value(int index, std::string_view key);
void set_value(int index, std::string_view key, std::string_view value);
void unset_value(int index, std::string_view key);
Values all_values(int index);
// Commits the set together with this process's changes to the other sets
// (one journal when several are written; unchanged sets are not written).
// An error, for the caller to report, when the store could not be written;
// the changes are kept for the next commit.
Status commit_set(int index);

}  // namespace nvram

#endif
