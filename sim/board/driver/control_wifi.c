// SPDX-License-Identifier: GPL-2.0
/* The wireless control commands: answer sequences, the access-control list,
 * the connection text, scripted failures, and the WSC profile and
 * configured-value records, each checked whole before the interface's
 * state changes. Text values may carry \xHH escapes (a blank is \x20). */
#include <linux/kernel.h>
#include <linux/string.h>

#include "board.h"
#include "control.h"
#include "parse.h"
#include "wifi.h"

#define MANY CONTROL_WORDS_MAX

static int interface(const struct control_line *line, struct board_wifi **wifi)
{
	*wifi = board_wifi_named(line->words[1]);
	if (!*wifi)
		return board_control_refuse(
			"\"%s\" is not one of ra0 rai0 rax0 apcli0 apclii0 rai3", line->words[1]);
	return 0;
}

typedef bool (*value_parser)(const char *word, u64 *value);

static bool status_value(const char *word, u64 *value)
{
	u32 number;

	if (!board_parse_u32(word, &number))
		return false;
	*value = number;
	return true;
}

static bool channel_value(const char *word, u64 *value)
{
	u32 number;

	if (!board_parse_u32(word, &number) || number > 0xff)
		return false;
	*value = number;
	return true;
}

static bool bssid_value(const char *word, u64 *value)
{
	u8 mac[6];

	if (!board_parse_mac(word, mac))
		return false;
	*value = board_bssid_value(mac);
	return true;
}

/* Words 2 on into a sequence; none empties it. */
static int set_sequence(const struct control_line *line, size_t field, value_parser parse,
			const char *what)
{
	struct board_wifi *wifi;
	struct board_seq *seq;
	u64 value;
	int i, error = interface(line, &wifi);

	if (error)
		return error;
	if (line->count - 2 > BOARD_SEQ_MAX)
		return board_control_refuse("more than %u values", BOARD_SEQ_MAX);
	for (i = 2; i < line->count; ++i) {
		if (!parse(line->words[i], &value))
			return board_control_refuse("\"%s\" is not %s", line->words[i], what);
	}
	seq = (struct board_seq *)((char *)wifi + field);
	for (i = 2; i < line->count; ++i)
		parse(line->words[i], &seq->values[i - 2]);
	seq->count = line->count - 2;
	seq->cursor = 0;
	return 0;
}

static int run_status(struct control_line *line)
{
	return set_sequence(line, offsetof(struct board_wifi, status), status_value,
			    "a status code");
}

static int run_channel(struct control_line *line)
{
	return set_sequence(line, offsetof(struct board_wifi, channel), channel_value,
			    "a channel (0-255)");
}

static int run_bssid(struct control_line *line)
{
	return set_sequence(line, offsetof(struct board_wifi, bssid), bssid_value,
			    "a MAC address AA:BB:CC:DD:EE:FF");
}

/* MACs, and "count=N": the entry count the driver claims instead (it may
 * claim more than the 64 entries its record holds). */
static int run_acl(struct control_line *line)
{
	struct acl_list list = {};
	struct board_wifi *wifi;
	u32 entries = 0, claimed = 0;
	int i, error = interface(line, &wifi);

	if (error)
		return error;
	for (i = 2; i < line->count; ++i) {
		const char *word = line->words[i];

		if (strncmp(word, "count=", 6) == 0) {
			if (!board_parse_u32(word + 6, &claimed))
				return board_control_refuse("\"%s\" is not count=N", word);
		} else if (entries == ACL_MAX_ENTRIES) {
			return board_control_refuse("more than %u ACL entries", ACL_MAX_ENTRIES);
		} else if (!board_parse_mac(word, list.Entries[entries].Mac)) {
			return board_control_refuse("\"%s\" is not a MAC address AA:BB:CC:DD:EE:FF",
						    word);
		} else {
			++entries;
		}
	}
	list.EntryCount = cpu_to_le32(claimed ? claimed : entries);
	wifi->acl = list;
	return 0;
}

/* The rest of the line after the interface and one blank; it is decoded
 * in the place of the interface's name, once that has been looked up. */
static int run_connstatus(struct control_line *line)
{
	const char *rest = board_control_rest(line, 1);
	char *text = line->words[1];
	struct board_wifi *wifi;
	int length, error = interface(line, &wifi);

	BUILD_BUG_ON(CONTROL_LINE_MAX >= APCLI_CONNSTATUS_BUFFER);
	if (error)
		return error;
	memcpy(text, rest, strlen(rest) + 1);
	length = board_unescape(text);
	if (length < 0)
		return board_control_refuse("broken \\ escape (\\xHH or \\\\)");
	if (strlen(text) != length)
		return board_control_refuse("the connection status answer holds a NUL byte");
	memcpy(wifi->connstatus, text, length + 1);
	wifi->connstatus_len = length;
	return 0;
}

static int run_fail(struct control_line *line)
{
	struct board_wifi *wifi;
	u32 flags = 0, oids[BOARD_WIFI_FAIL_OIDS], count = 0;
	int i, error = interface(line, &wifi);

	if (error)
		return error;
	for (i = 2; i < line->count; ++i) {
		const char *word = line->words[i];

		if (strcmp(word, "all") == 0) {
			flags |= BOARD_WIFI_FAIL_ALL;
		} else if (strcmp(word, "wsc-profile") == 0) {
			flags |= BOARD_WIFI_FAIL_WSC_PROFILE;
		} else if (strcmp(word, "connstatus") == 0) {
			flags |= BOARD_WIFI_FAIL_CONNSTATUS;
		} else if (strncmp(word, "oid=", 4) == 0 &&
			   board_parse_u32(word + 4, &oids[count])) {
			if (++count == BOARD_WIFI_FAIL_OIDS)
				return board_control_refuse("more than %u OIDs",
							    BOARD_WIFI_FAIL_OIDS - 1);
		} else {
			return board_control_refuse("\"%s\" is not a request (oid=0xNNNN, "
						    "wsc-profile, connstatus, all)",
						    word);
		}
	}
	wifi->fail = flags;
	wifi->fail_oid_count = count;
	memcpy(wifi->fail_oids, oids, sizeof(oids));
	return 0;
}

/* FIELD=VALUE words of a record: text fields (with escapes) and numbers
 * with their limits; a number left at U32_MAX was not given. */
struct field {
	const char *name;
	bool text;
	u32 limit; /* largest number, or longest text */
	u32 number;
	char *value; /* text fields */
	int length;
};

static struct field *named_field(struct field *fields, size_t count, const char *name)
{
	size_t i;

	for (i = 0; i < count; ++i) {
		if (strcmp(fields[i].name, name) == 0)
			return &fields[i];
	}
	return NULL;
}

static int parse_fields(struct control_line *line, struct field *fields, size_t count)
{
	struct field *field;
	char *value;
	int i;

	for (i = 0; i < count; ++i) {
		fields[i].value = "";
		fields[i].length = 0;
	}
	for (i = 2; i < line->count; ++i) {
		value = strchr(line->words[i], '=');
		if (!value)
			return board_control_refuse("\"%s\" is not FIELD=VALUE", line->words[i]);
		*value++ = '\0';
		field = named_field(fields, count, line->words[i]);
		if (!field)
			return board_control_refuse("unknown field \"%s\"", line->words[i]);
		if (field->text) {
			field->length = board_unescape(value);
			if (field->length < 0)
				return board_control_refuse("%s: broken \\ escape", field->name);
			if (field->length > field->limit)
				return board_control_refuse("%s is longer than %u bytes",
							    field->name, field->limit);
			field->value = value;
		} else if (!board_parse_u32(value, &field->number)) {
			return board_control_refuse("\"%s\" is not a number", value);
		} else if (field->number > field->limit) {
			return board_control_refuse("%s %u is above %u", field->name, field->number,
						    field->limit);
		}
	}
	return 0;
}

enum { P_SSID, P_KEY, P_AUTH, P_ENCR, P_KEY_LEN, P_KEY_INDEX };

static int run_profile(struct control_line *line)
{
	struct field f[] = {
		[P_SSID] = { "ssid", true, sizeof_field(struct wsc_credential, Ssid) },
		[P_KEY] = { "key", true, sizeof_field(struct wsc_credential, Key) },
		[P_AUTH] = { "auth", false, 0xffff, 0 },
		[P_ENCR] = { "encr", false, 0xffff, 0 },
		[P_KEY_LEN] = { "key-len", false, 0xffff, U32_MAX },
		[P_KEY_INDEX] = { "key-index", false, 0xff, 0 },
	};
	struct board_wifi *wifi;
	struct wsc_credential *cred;
	int error = interface(line, &wifi);

	if (!error)
		error = parse_fields(line, f, ARRAY_SIZE(f));
	if (error)
		return error;
	memset(&wifi->profile, 0, sizeof(wifi->profile));
	wifi->profile.ProfileCnt = cpu_to_le32(1); /* ApplyProfileIdx stays 0 */
	cred = &wifi->profile.Profile[0];
	cred->SsidLen = cpu_to_le32(f[P_SSID].length);
	memcpy(cred->Ssid, f[P_SSID].value, f[P_SSID].length);
	cred->AuthType = cpu_to_le16(f[P_AUTH].number);
	cred->EncrType = cpu_to_le16(f[P_ENCR].number);
	memcpy(cred->Key, f[P_KEY].value, f[P_KEY].length);
	cred->KeyLen =
		cpu_to_le16(f[P_KEY_LEN].number == U32_MAX ? f[P_KEY].length : f[P_KEY_LEN].number);
	cred->KeyIndex = f[P_KEY_INDEX].number;
	wifi->has_profile = true;
	return 0;
}

enum { C_STATE, C_SSID, C_AUTH, C_ENCR, C_KEY_INDEX, C_KEY, C_SSID_LEN };

static int run_configured(struct control_line *line)
{
	struct field f[] = {
		[C_STATE] = { "state", false, 0xffff, 0 },
		[C_SSID] = { "ssid", true, sizeof_field(WSC_CONFIGURED_VALUE, WscSsid) - 1 },
		[C_AUTH] = { "auth", false, 0xffff, 0 },
		[C_ENCR] = { "encr", false, 0xffff, 0 },
		[C_KEY_INDEX] = { "key-index", false, 0xff, 0 },
		[C_KEY] = { "key", true, sizeof_field(WSC_CONFIGURED_VALUE, WscKey) - 1 },
		[C_SSID_LEN] = { "ssid-len", false, 0xff, U32_MAX },
	};
	struct board_wifi *wifi;
	WSC_CONFIGURED_VALUE *cv;
	int error = interface(line, &wifi);

	if (!error)
		error = parse_fields(line, f, ARRAY_SIZE(f));
	if (error)
		return error;
	cv = &wifi->configured;
	memset(cv, 0, sizeof(*cv));
	cv->WscState = cpu_to_le16(f[C_STATE].number);
	memcpy(cv->WscSsid, f[C_SSID].value, f[C_SSID].length);
	cv->WscAuthMode = cpu_to_le16(f[C_AUTH].number);
	cv->WscEncrypType = cpu_to_le16(f[C_ENCR].number);
	cv->WscKeyIdx = f[C_KEY_INDEX].number;
	memcpy(cv->WscKey, f[C_KEY].value, f[C_KEY].length);
	cv->WscSsidLen = f[C_SSID_LEN].number == U32_MAX ? f[C_SSID].length : f[C_SSID_LEN].number;
	wifi->has_configured = true;
	return 0;
}

const struct control_command board_wifi_commands[] = {
	{ "wifi-status", 1, MANY, run_status },
	{ "wifi-channel", 1, MANY, run_channel },
	{ "wifi-bssid", 1, MANY, run_bssid },
	{ "wifi-acl", 1, MANY, run_acl },
	{ "wifi-connstatus", 1, MANY, run_connstatus },
	{ "wifi-fail", 1, MANY, run_fail },
	{ "wifi-profile", 1, MANY, run_profile },
	{ "wifi-configured", 1, MANY, run_configured },
};
const size_t board_wifi_command_count = ARRAY_SIZE(board_wifi_commands);
