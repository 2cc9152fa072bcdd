/* The board's wireless interfaces: their net devices and the handler of
 * the wireless driver's private requests. */
#ifndef ROUTERD_BOARD_WIFI_H
#define ROUTERD_BOARD_WIFI_H

#include <linux/netdevice.h>
#include <net/iw_handler.h>

#include "board.h"

/* The scripted state of one of the board's interfaces. */
struct board_wifi *board_wifi_of(struct net_device *dev);

int board_wifi_private_request(struct net_device *dev, struct iw_request_info *info,
			       union iwreq_data *wrqu, char *extra);

/* A BSSID kept in a sequence value: the six bytes, first byte highest. */
static inline u64 board_bssid_value(const u8 mac[6])
{
	u64 value = 0;
	unsigned int i;

	for (i = 0; i < 6; ++i)
		value = value << 8 | mac[i];
	return value;
}

static inline void board_bssid_bytes(u64 value, u8 mac[6])
{
	int i;

	for (i = 5; i >= 0; --i, value >>= 8)
		mac[i] = value & 0xff;
}

#endif
