/* The default gateway from the kernel's routing table (/proc/net/route). */
#ifndef BOARDUTIL_DEFAULT_GATEWAY_H
#define BOARDUTIL_DEFAULT_GATEWAY_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The gateway of the first usable default route as dotted-quad text ("" for
 * a default route without gateway), or null when there is none or the
 * table cannot be read. The text lives in a static buffer that the next
 * call (of this or of gateway_from_route_table) overwrites. Logs the
 * gateway with console_debug. */
char *GetGateway(void);
/* GetGateway's scan of a table in the form of /proc/net/route read from
 * routes, which the caller opens and closes; "format error" (no line end)
 * on standard output and null for a malformed line. */
char *gateway_from_route_table(FILE *routes);

#ifdef __cplusplus
}
#endif

#endif
