/* Request numbers, OIDs and record layouts shared with the wireless driver
 * (and with the simulator's fake driver). All fields little-endian. */
#ifndef BOARDUTIL_WIRELESS_ABI_H
#define BOARDUTIL_WIRELESS_ABI_H

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
#define WSC_STATUS_CONFIGURED 34    /* the session succeeded */
#define WSC_STATUS_PBC_OVERLAP 265  /* 0x109: two push-button sessions at once */

/* wsc_profile: u32 ProfileCnt, u32 ApplyProfileIdx, 8 x wsc_credential. */
#define WSC_PROFILE_SIZE 936
#define WSC_PROFILE_CRED0 8
/* wsc_credential offsets (within the credential). */
#define WSC_CREDENTIAL_SIZE 116
#define WSC_CRED_SSID_LEN 0
#define WSC_CRED_SSID 4
#define WSC_CRED_SSID_SIZE 32
#define WSC_CRED_AUTH_TYPE 36
#define WSC_CRED_ENCR_TYPE 38
#define WSC_CRED_KEY 40
#define WSC_CRED_KEY_SIZE 64
#define WSC_CRED_KEY_LEN 104
#define WSC_CRED_MAC 106
#define WSC_CRED_KEY_INDEX 112

/* WSC_CONFIGURED_VALUE, byte-packed (16-bit fields at odd offsets). */
#define WSC_CONFIGURED_VALUE_SIZE 107
#define WSC_CV_STATE 0
#define WSC_CV_SSID 2
#define WSC_CV_SSID_SIZE 33
#define WSC_CV_AUTH_MODE 35
#define WSC_CV_ENCRYP_TYPE 37
#define WSC_CV_KEY_IDX 39
#define WSC_CV_KEY 40
#define WSC_CV_KEY_SIZE 65
#define WSC_CV_SSID_LEN 105

/* acl_list: u32 unused, u32 EntryCount, 64 x (6-byte Mac + 2 bytes). */
#define ACL_LIST_SIZE 520
#define ACL_LIST_COUNT 4
#define ACL_LIST_ENTRIES 8
#define ACL_ENTRY_SIZE 8
#define ACL_MAX_ENTRIES 64

#define APCLI_CONNSTATUS_BUFFER 2048

#endif
