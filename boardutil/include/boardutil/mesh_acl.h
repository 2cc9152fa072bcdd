/* The mesh interface's access-control list, mirrored in the configuration
 * store as "AccessControlList<n>", and its compact command-line form. */
#ifndef BOARDUTIL_MESH_ACL_H
#define BOARDUTIL_MESH_ACL_H

#ifdef __cplusplus
extern "C" {
#endif

/* Merges the driver's access-control list of ifname into
 * "AccessControlList<n>" of set index, as "AA:BB:CC:DD:EE:FF;" entries not
 * yet in it (letter case ignored), then pauses 1 second and commits the
 * set. List 3 (the mesh list) keeps its stored entries and always holds the
 * router's own apclii0 address. Logs each entry with console_debug. */
void config_acl(const char *ifname, int n, int index);
/* The compact form of acl: its hexadecimal digits only, everything else
 * dropped, so it can go into a shell command. The text lives in one of two
 * buffers of this function, used in turn: it stays valid through the next
 * call, and the call after that reuses (and may move) it. "" when there was
 * no memory. Logs "acl:..." with console_debug. */
const char *mesh_get_acl(const char *acl);
/* Appends the compact form of acl to the text in out, which must have room
 * for it and its terminator. Library interface; no program of this tree
 * calls it. */
void mesh_acl_append(const char *acl, char *out);

#ifdef __cplusplus
}
#endif

#endif
