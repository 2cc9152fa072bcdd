/* MAC addresses of network interfaces (SIOCGIFHWADDR) in the three forms
 * the system uses. Each result lives in a static buffer of its function
 * that the next call of the same function overwrites. On failure each
 * returns one shared constant of six zero bytes (the empty text, and an
 * all-zero raw form) and prints "FUNCTION: open socket error" or
 * "FUNCTION: ioctl fail" on standard error. */
#ifndef BOARDUTIL_MAC_ADDRESS_H
#define BOARDUTIL_MAC_ADDRESS_H

#ifdef __cplusplus
extern "C" {
#endif

/* 12 uppercase hexadecimal digits ("001122AABBCC"). Library interface; no
 * program of this tree calls it. */
const char *get_mac_addr(const char *ifname);
/* The six raw bytes. Library interface; no program of this tree calls it. */
const unsigned char *get_mac_addr_hex(const char *ifname);
/* The colon form in uppercase ("00:11:22:AA:BB:CC"). */
const char *get_mac_addr_with_colon(const char *ifname);

#ifdef __cplusplus
}
#endif

#endif
