/* The mesh interface's access-control list, mirrored in the configuration
 * store as "AccessControlList<n>", and its compact command-line form. */
#ifndef BOARDUTIL_MESH_ACL_H
#define BOARDUTIL_MESH_ACL_H

#ifdef __cplusplus
extern "C" {
#endif

void config_acl(const char *ifname, int n, int index);
const char *mesh_get_acl(const char *acl);
void mesh_acl_append(const char *acl, char *out);

#ifdef __cplusplus
}
#endif

#endif
