/* Request numbers, OIDs and the records the wireless driver fills, shared
 * with the driver (the simulator's fake driver and the board's kernel
 * module include this file too). All multi-byte fields are little-endian;
 * every offset and size is checked below when this header is compiled. */
#ifndef BOARDUTIL_WIRELESS_ABI_H
#define BOARDUTIL_WIRELESS_ABI_H

#ifdef __KERNEL__
#include <linux/stddef.h>
#include <linux/types.h>
#include <linux/wireless.h>
#else
#include <net/if.h>
#include <stddef.h>
#include <stdint.h>
/* After <net/if.h>: the kernel's interface header, which <linux/wireless.h>
 * includes, then leaves out what the C library already defined. */
#include <linux/wireless.h>
#endif

#define RTPRIV_IOCTL_OID_QUERY 0x8BEE
#define RTPRIV_IOCTL_WSC_PROFILE 0x8BF2
#define RTPRIV_IOCTL_APCLI_CONNSTATUS 0x8BFC

#define OID_WSC_PROFILE 0x0750
#define OID_WSC_STATUS 0x0751
#define OID_APCLI_CHANNEL 0x0765
#define OID_APCLI_BSSID 0x0766
#define OID_ACL_LIST 0x052A

/* Answers of OID_WSC_STATUS that end a WPS session; every other value means
 * the session still runs. Both failure codes end it with failure. */
#define WSC_STATUS_FAILED_1 1
#define WSC_STATUS_FAILED_2 2
#define WSC_STATUS_CONFIGURED 34   /* the session succeeded */
#define WSC_STATUS_PBC_OVERLAP 265 /* 0x109: two push-button sessions at once */

/* The request of all three private ioctls, used through u.data: the
 * interface name, the answer buffer, its length and (for OID queries) the
 * OID as flags. */
typedef struct iwreq oid_request;

/* One credential of a WPS profile (116 bytes). */
typedef struct wsc_credential {
  uint32_t SsidLen;
  char Ssid[32];
  uint16_t AuthType; /* authentication type bits */
  uint16_t EncrType; /* encryption type bits */
  char Key[64];
  uint16_t KeyLen; /* number of key bytes */
  unsigned char MacAddr[6];
  uint8_t KeyIndex; /* WEP key number 1 to 4 */
  uint8_t Reserved[3];
} wsc_credential;

#define WSC_PROFILE_COUNT 8

/* The answer to OID_WSC_PROFILE (936 bytes). */
typedef struct wsc_profile {
  uint32_t ProfileCnt;
  uint32_t ApplyProfileIdx;
  wsc_credential Profile[WSC_PROFILE_COUNT];
} wsc_profile;
#define WSC_PROFILE_SIZE 936

/* The credentials an upstream client received, the answer to
 * RTPRIV_IOCTL_WSC_PROFILE (107 bytes, byte-packed: the 16-bit fields lie at
 * odd offsets). */
typedef struct __attribute__((packed)) WSC_CONFIGURED_VALUE {
  uint16_t WscState;
  char WscSsid[33]; /* NUL-terminated */
  uint16_t WscAuthMode;
  uint16_t WscEncrypType;
  uint8_t WscKeyIdx;
  char WscKey[65]; /* NUL-terminated */
  uint8_t WscSsidLen;
  uint8_t Reserved;
} WSC_CONFIGURED_VALUE;
#define WSC_CONFIGURED_VALUE_SIZE 107

#define ACL_MAX_ENTRIES 64

/* One station of an access-control list (8 bytes). */
typedef struct acl_entry {
  unsigned char Mac[6];
  uint8_t Reserved[2];
} acl_entry;

/* The answer to OID_ACL_LIST (520 bytes): EntryCount valid entries. */
typedef struct acl_list {
  uint32_t Reserved;
  uint32_t EntryCount;
  acl_entry Entries[ACL_MAX_ENTRIES];
} acl_list;
#define ACL_LIST_SIZE 520

#define APCLI_CONNSTATUS_BUFFER 2048

#ifdef __cplusplus
#define BOARDUTIL_ABI_CHECK(condition) static_assert(condition, #condition)
#else
#define BOARDUTIL_ABI_CHECK(condition) _Static_assert(condition, #condition)
#endif

/* The request: the name, then the data pointer, its length and flags. */
BOARDUTIL_ABI_CHECK(offsetof(oid_request, u.data.pointer) == 16);
BOARDUTIL_ABI_CHECK(offsetof(oid_request, u.data.length) == 16 + sizeof(void *));
BOARDUTIL_ABI_CHECK(offsetof(oid_request, u.data.flags) == 18 + sizeof(void *));
BOARDUTIL_ABI_CHECK(sizeof(oid_request) == 32);

BOARDUTIL_ABI_CHECK(offsetof(wsc_credential, SsidLen) == 0);
BOARDUTIL_ABI_CHECK(offsetof(wsc_credential, Ssid) == 4);
BOARDUTIL_ABI_CHECK(offsetof(wsc_credential, AuthType) == 36);
BOARDUTIL_ABI_CHECK(offsetof(wsc_credential, EncrType) == 38);
BOARDUTIL_ABI_CHECK(offsetof(wsc_credential, Key) == 40);
BOARDUTIL_ABI_CHECK(offsetof(wsc_credential, KeyLen) == 104);
BOARDUTIL_ABI_CHECK(offsetof(wsc_credential, MacAddr) == 106);
BOARDUTIL_ABI_CHECK(offsetof(wsc_credential, KeyIndex) == 112);
BOARDUTIL_ABI_CHECK(offsetof(wsc_credential, Reserved) == 113);
BOARDUTIL_ABI_CHECK(sizeof(wsc_credential) == 116);

BOARDUTIL_ABI_CHECK(offsetof(wsc_profile, ProfileCnt) == 0);
BOARDUTIL_ABI_CHECK(offsetof(wsc_profile, ApplyProfileIdx) == 4);
BOARDUTIL_ABI_CHECK(offsetof(wsc_profile, Profile) == 8);
BOARDUTIL_ABI_CHECK(sizeof(wsc_profile) == WSC_PROFILE_SIZE);

BOARDUTIL_ABI_CHECK(offsetof(WSC_CONFIGURED_VALUE, WscState) == 0);
BOARDUTIL_ABI_CHECK(offsetof(WSC_CONFIGURED_VALUE, WscSsid) == 2);
BOARDUTIL_ABI_CHECK(offsetof(WSC_CONFIGURED_VALUE, WscAuthMode) == 35);
BOARDUTIL_ABI_CHECK(offsetof(WSC_CONFIGURED_VALUE, WscEncrypType) == 37);
BOARDUTIL_ABI_CHECK(offsetof(WSC_CONFIGURED_VALUE, WscKeyIdx) == 39);
BOARDUTIL_ABI_CHECK(offsetof(WSC_CONFIGURED_VALUE, WscKey) == 40);
BOARDUTIL_ABI_CHECK(offsetof(WSC_CONFIGURED_VALUE, WscSsidLen) == 105);
BOARDUTIL_ABI_CHECK(offsetof(WSC_CONFIGURED_VALUE, Reserved) == 106);
BOARDUTIL_ABI_CHECK(sizeof(WSC_CONFIGURED_VALUE) == WSC_CONFIGURED_VALUE_SIZE);

BOARDUTIL_ABI_CHECK(offsetof(acl_entry, Mac) == 0);
BOARDUTIL_ABI_CHECK(sizeof(acl_entry) == 8);
BOARDUTIL_ABI_CHECK(offsetof(acl_list, EntryCount) == 4);
BOARDUTIL_ABI_CHECK(offsetof(acl_list, Entries) == 8);
BOARDUTIL_ABI_CHECK(sizeof(acl_list) == ACL_LIST_SIZE);

#undef BOARDUTIL_ABI_CHECK

#endif
