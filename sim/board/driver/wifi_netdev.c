// SPDX-License-Identifier: GPL-2.0
/* The wireless interfaces ra0, rai0, rax0, apcli0, apclii0 and rai3 as
 * plain Ethernet-like net devices with fixed MACs: what they transmit is
 * dropped, and every private wireless request number goes to one handler. */
#include <linux/etherdevice.h>
#include <linux/netdevice.h>
#include <net/iw_handler.h>

#include "wifi.h"

#define PRIVATE_REQUESTS (SIOCIWLASTPRIV - SIOCIWFIRSTPRIV + 1)

static const u8 wifi_macs[BOARD_WIFI_COUNT][ETH_ALEN] = {
	{ 0x02, 0, 0, 0, 0, 0x10 }, /* ra0 */
	{ 0x02, 0, 0, 0, 0, 0x20 }, /* rai0 */
	{ 0x02, 0, 0, 0, 0, 0x30 }, /* rax0 */
	{ 0x02, 0, 0, 0, 0, 0x11 }, /* apcli0 */
	{ 0x02, 0, 0, 0, 0, 0x21 }, /* apclii0 */
	{ 0x02, 0, 0, 0, 0, 0x23 }, /* rai3 */
};

static struct net_device *wifi_devices[BOARD_WIFI_COUNT];

static iw_handler private_handlers[PRIVATE_REQUESTS];

static const struct iw_handler_def wext_handlers = {
	.num_private = PRIVATE_REQUESTS,
	.private = private_handlers,
};

struct board_wifi *board_wifi_of(struct net_device *dev)
{
	unsigned int index = *(unsigned int *)netdev_priv(dev);

	return &board->wifi[index];
}

static netdev_tx_t drop_frame(struct sk_buff *skb, struct net_device *dev)
{
	DEV_STATS_INC(dev, tx_dropped);
	dev_kfree_skb(skb);
	return NETDEV_TX_OK;
}

static const struct net_device_ops wifi_ops = {
	.ndo_start_xmit = drop_frame,
	.ndo_validate_addr = eth_validate_addr,
};

static struct net_device *create_device(unsigned int index)
{
	struct net_device *dev;
	int error;

	dev = alloc_netdev(sizeof(unsigned int), board->wifi[index].name, NET_NAME_PREDICTABLE,
			   ether_setup);
	if (!dev)
		return ERR_PTR(-ENOMEM);
	*(unsigned int *)netdev_priv(dev) = index;
	dev->netdev_ops = &wifi_ops;
	dev->wireless_handlers = &wext_handlers;
	eth_hw_addr_set(dev, wifi_macs[index]);
	error = register_netdev(dev);
	if (error) {
		free_netdev(dev);
		return ERR_PTR(error);
	}
	return dev;
}

int board_wifi_create(void)
{
	unsigned int i;
	struct net_device *dev;

	for (i = 0; i < PRIVATE_REQUESTS; ++i)
		private_handlers[i] = board_wifi_private_request;
	for (i = 0; i < BOARD_WIFI_COUNT; ++i) {
		dev = create_device(i);
		if (IS_ERR(dev)) {
			board_wifi_destroy();
			return PTR_ERR(dev);
		}
		wifi_devices[i] = dev;
	}
	return 0;
}

void board_wifi_destroy(void)
{
	unsigned int i;

	for (i = 0; i < BOARD_WIFI_COUNT; ++i) {
		if (!wifi_devices[i])
			continue;
		unregister_netdev(wifi_devices[i]);
		free_netdev(wifi_devices[i]);
		wifi_devices[i] = NULL;
	}
}
