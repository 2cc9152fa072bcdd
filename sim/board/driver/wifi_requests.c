// SPDX-License-Identifier: GPL-2.0
/* The wireless driver's private requests, as the wireless extensions hand
 * them over (an iw_point holding the caller's buffer and length): OID
 * queries, the configured WSC value and the upstream client's connection
 * status, answered from the interface's scripted state. */
#include <linux/netdevice.h>
#include <linux/uaccess.h>
#include <net/iw_handler.h>

#include "board.h"
#include "wifi.h"

/* One request on one interface: what its log line names. */
struct request {
	struct board_wifi *wifi;
	struct iw_point *data;
	char what[24]; /* "oid=0x0751", "wsc-profile", "connstatus", "cmd=0x8BE0" */
};

static int refused(const struct request *request, int error, const char *reason)
{
	board_log("wifi %s refused %s (%s)", request->wifi->name, request->what, reason);
	return -error;
}

static void log_answered(const struct request *request)
{
	board_log("wifi %s %s len=%u", request->wifi->name, request->what, request->data->length);
}

static bool fails_oid(const struct board_wifi *wifi, u32 oid)
{
	u32 i;

	for (i = 0; i < wifi->fail_oid_count; ++i) {
		if (wifi->fail_oids[i] == oid)
			return true;
	}
	return (wifi->fail & BOARD_WIFI_FAIL_ALL) != 0;
}

static bool fails(const struct board_wifi *wifi, u32 kind)
{
	return (wifi->fail & (kind | BOARD_WIFI_FAIL_ALL)) != 0;
}

static int wrong_length(const struct request *request, unsigned int expected)
{
	char reason[48];

	snprintf(reason, sizeof(reason), "length %u, expected %u", request->data->length, expected);
	return refused(request, EINVAL, reason);
}

/* Requests other than OID queries carry no flags. */
static int wrong_flags(const struct request *request)
{
	char reason[40];

	snprintf(reason, sizeof(reason), "flags 0x%x, expected 0", request->data->flags);
	return refused(request, EINVAL, reason);
}

/* Copies the answer out and logs it; a bad buffer is refused. */
static int answer(const struct request *request, const void *bytes, size_t length)
{
	if (copy_to_user(request->data->pointer, bytes, length))
		return refused(request, EFAULT, "bad buffer");
	log_answered(request);
	return 0;
}

static int answer_status(const struct request *request)
{
	__le32 status = cpu_to_le32((u32)board_seq_take(&request->wifi->status));

	return answer(request, &status, sizeof(status));
}

static int answer_channel(const struct request *request)
{
	u8 channel = board_seq_take(&request->wifi->channel);

	return answer(request, &channel, sizeof(channel));
}

static int answer_bssid(const struct request *request)
{
	u8 bssid[6];

	board_bssid_bytes(board_seq_take(&request->wifi->bssid), bssid);
	return answer(request, bssid, sizeof(bssid));
}

static int answer_profile(const struct request *request)
{
	return answer(request, &request->wifi->profile, sizeof(request->wifi->profile));
}

static int answer_acl(const struct request *request)
{
	return answer(request, &request->wifi->acl, sizeof(request->wifi->acl));
}

static const struct oid_answer {
	u32 oid;
	u16 length;
	int (*answer)(const struct request *request);
} oid_answers[] = {
	{ OID_WSC_STATUS, 4, answer_status },
	{ OID_WSC_PROFILE, sizeof(struct wsc_profile), answer_profile },
	{ OID_APCLI_CHANNEL, 1, answer_channel },
	{ OID_APCLI_BSSID, 6, answer_bssid },
	{ OID_ACL_LIST, sizeof(struct acl_list), answer_acl },
};

static int query_oid(struct request *request)
{
	u32 oid = request->data->flags;
	unsigned int i;

	snprintf(request->what, sizeof(request->what), "oid=0x%04X", oid);
	if (fails_oid(request->wifi, oid))
		return refused(request, BOARD_SCRIPTED_FAILURE, "failing on request");
	for (i = 0; i < ARRAY_SIZE(oid_answers); ++i) {
		if (oid_answers[i].oid != oid)
			continue;
		if (request->data->length != oid_answers[i].length || !request->data->pointer)
			return wrong_length(request, oid_answers[i].length);
		return oid_answers[i].answer(request);
	}
	return refused(request, EOPNOTSUPP, "unknown OID");
}

/* Answers at most the record's size; a shorter buffer gets its start. */
static int configured_value(struct request *request)
{
	size_t length = min_t(size_t, request->data->length, sizeof(WSC_CONFIGURED_VALUE));

	strscpy(request->what, "wsc-profile", sizeof(request->what));
	if (fails(request->wifi, BOARD_WIFI_FAIL_WSC_PROFILE))
		return refused(request, BOARD_SCRIPTED_FAILURE, "failing on request");
	if (request->data->flags != 0)
		return wrong_flags(request);
	if (length > 0 && !request->data->pointer)
		return refused(request, EINVAL, "null buffer");
	return answer(request, &request->wifi->configured, length);
}

/* The text and its NUL; the length field then holds the text's length
 * (the wireless extensions copy it back only for odd-numbered requests,
 * so the caller of this even-numbered one keeps its own). */
static int connection_status(struct request *request)
{
	struct board_wifi *wifi = request->wifi;
	int result;

	strscpy(request->what, "connstatus", sizeof(request->what));
	if (fails(wifi, BOARD_WIFI_FAIL_CONNSTATUS))
		return refused(request, BOARD_SCRIPTED_FAILURE, "failing on request");
	if (request->data->flags != 0)
		return wrong_flags(request);
	if (request->data->length != APCLI_CONNSTATUS_BUFFER || !request->data->pointer)
		return wrong_length(request, APCLI_CONNSTATUS_BUFFER);
	result = answer(request, wifi->connstatus, wifi->connstatus_len + 1);
	if (result == 0)
		request->data->length = wifi->connstatus_len;
	return result;
}

static int decode(struct request *request, unsigned int cmd)
{
	switch (cmd) {
	case RTPRIV_IOCTL_OID_QUERY:
		return query_oid(request);
	case RTPRIV_IOCTL_WSC_PROFILE:
		return configured_value(request);
	case RTPRIV_IOCTL_APCLI_CONNSTATUS:
		return connection_status(request);
	default:
		snprintf(request->what, sizeof(request->what), "cmd=0x%04X", cmd);
		return refused(request, EOPNOTSUPP, "unknown request");
	}
}

/* The handler of every private request number (called under the RTNL). */
int board_wifi_private_request(struct net_device *dev, struct iw_request_info *info,
			       union iwreq_data *wrqu, char *extra)
{
	struct request request = { .data = &wrqu->data };
	int result;

	mutex_lock(&board->lock);
	request.wifi = board_wifi_of(dev);
	result = decode(&request, info->cmd);
	mutex_unlock(&board->lock);
	return result;
}
