// The mesh interface's access-control list: merges a driver's list into
// "AccessControlList<n>" of the configuration store, and turns a stored list
// into the compact form (hexadecimal digits only) handed to the mesh interface.
#include "boardutil/mesh_acl.h"

#include <netinet/in.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/socket.h>

#include "boardutil/console.h"
#include "boardutil/list_values.h"
#include "boardutil/mac_address.h"
#include "boardutil/pause.h"
#include "boardutil/wireless.h"
#include "boardutil/wireless_internal.h"
#include "nvram.h"
#include "runtime/unique_fd.h"

namespace {

// List 3 of set 1 is the mesh interface's list; it always holds the router's
// own 5 GHz upstream-client address.
constexpr int kMeshList = 3;
constexpr const char kMeshListKey[] = "AccessControlList3";
constexpr const char kOwnInterface[] = "apclii0";
// A stored mesh list this short holds no entry and counts as empty.
constexpr size_t kShortList = 9;
// "AA:BB:CC:DD:EE:FF;"
constexpr size_t kEntryLength = 18;

uint32_t read_u32_le(const unsigned char *bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool contains_ignoring_case(const char *text, const char *entry) {
  size_t length = strlen(entry);
  for (const char *at = text; *at != '\0'; ++at) {
    if (strncasecmp(at, entry, length) == 0) return true;
  }
  return false;
}

// The mesh list starts from the stored list, which gains the own address
// once; the address is looked for exactly as get_mac_addr_with_colon gives
// it (uppercase).
void seed_mesh_list(char *text, size_t room, const char *stored, const char *own) {
  if (strlen(stored) <= kShortList) {
    snprintf(text, room, "%s;", own);
  } else if (strstr(stored, own) != nullptr) {
    snprintf(text, room, "%s", stored);
  } else {
    console_debug("apclii0:%s\n\n", own);
    snprintf(text, room, "%s%s;", stored, own);
    console_debug("apclii0---temp:%s\n\n", text);
  }
}

// Appends each driver entry not yet in the text (ignoring letter case), in
// the driver's order. The record holds at most 64 entries, whatever its
// count says.
void merge_driver_entries(char *text, size_t room, const unsigned char *record) {
  uint32_t count = read_u32_le(record + offsetof(acl_list, EntryCount));
  size_t length = strlen(text);
  for (uint32_t i = 0; i < count; ++i) {
    if (i == ACL_MAX_ENTRIES) {
      console_debug("config_acl is full, can not add more\n\n");
      break;
    }
    const unsigned char *mac = record + offsetof(acl_list, Entries) + i * sizeof(acl_entry);
    console_debug("%02X:%02X:%02X:%02X:%02X:%02X\n", mac[0], mac[1], mac[2], mac[3], mac[4],
                  mac[5]);
    char entry[kEntryLength + 2];
    snprintf(entry, sizeof entry, "%02X:%02X:%02X:%02X:%02X:%02X;", mac[0], mac[1], mac[2], mac[3],
             mac[4], mac[5]);
    if (contains_ignoring_case(text, entry) || length + kEntryLength >= room) continue;
    memcpy(text + length, entry, kEntryLength + 1);
    length += kEntryLength;
  }
}

bool is_hex_digit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The compact form: only the hexadecimal digits of the list, which goes into
// a shell command line; separators and anything else another writer of the
// store may have left are dropped. Writes at out and terminates it.
void append_compact(const char *acl, char *out) {
  for (; *acl != '\0'; ++acl) {
    if (is_hex_digit(*acl)) *out++ = *acl;
  }
  *out = '\0';
}

}  // namespace

namespace boardutil {

AclText seeded_acl_text(int n, const char *stored, const char *own) {
  // The mesh list keeps its stored entries and grows across calls, so the
  // working text is sized from it: the stored list, the own address and its
  // ';', every entry of the driver record, and the terminator.
  size_t room = strlen(stored) + strlen(own) + 1 + ACL_MAX_ENTRIES * kEntryLength + 1;
  char *text = static_cast<char *>(calloc(room, 1));
  if (text == nullptr) return {};
  if (n == kMeshList) seed_mesh_list(text, room, stored, own);
  return {text, room};
}

void merge_acl_record(AclText &acl, const unsigned char *record) {
  merge_driver_entries(acl.text, acl.room, record);
}

}  // namespace boardutil

extern "C" void config_acl(const char *ifname, int n, int index) {
  routerd::unique_fd sock(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!sock.valid()) return;
  const char *stored = "";
  const char *own = "";
  if (n == kMeshList) {
    stored = nvram_bufget(RTDEV_NVRAM, kMeshListKey);
    console_debug("acclList3:%s\n\n", stored);
    own = get_mac_addr_with_colon(kOwnInterface);
  }
  boardutil::AclText acl = boardutil::seeded_acl_text(n, stored, own);
  if (acl.text == nullptr) return;

  console_debug("config_acl,size:%d\n\n", ACL_LIST_SIZE);
  unsigned char record[ACL_LIST_SIZE] = {};
  // A failed query leaves the record zeroed: no entries.
  ap_oid_query_info(OID_ACL_LIST, sock.get(), ifname, record, ACL_LIST_SIZE);
  boardutil::merge_acl_record(acl, record);

  nvram_bufset(index, racat("AccessControlList", n), acl.text);
  pause_seconds(1);
  nvram_commit(index);
  free(acl.text);
}

// The results live in two buffers, used in turn and each grown to the
// longest list it has held (the compact form is never longer than the
// list), so no list is ever cut short and a result stays valid through the
// next call; the call after that reuses its buffer.
const char *boardutil::compact_acl(const char *acl) {
  struct Buffer {
    char *text = nullptr;
    size_t capacity = 0;
  };
  static Buffer buffers[2];
  static unsigned turn = 0;
  Buffer &buffer = buffers[turn];
  size_t needed = strlen(acl) + 1;
  if (needed > buffer.capacity) {
    char *grown = static_cast<char *>(realloc(buffer.text, needed));
    if (grown == nullptr) {
      console_debug("acl: no memory for %zu bytes\n", needed);
      return nullptr;
    }
    buffer.text = grown;
    buffer.capacity = needed;
  }
  append_compact(acl, buffer.text);
  console_debug("acl:%s\n", buffer.text);
  turn ^= 1U;
  return buffer.text;
}

extern "C" const char *mesh_get_acl(const char *acl) {
  const char *compact = boardutil::compact_acl(acl);
  return compact != nullptr ? compact : "";
}

extern "C" void mesh_acl_append(const char *acl, char *out) {
  append_compact(acl, out + strlen(out));
  console_debug("acl:%s\n\n", out);
}
