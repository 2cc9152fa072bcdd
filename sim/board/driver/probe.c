/* probe: sends one request to the board's drivers as the daemons do and
 * prints the outcome, "ok ..." or "error ENAME", for selftest.sh to check.
 * Also the log-follow and stress checks, which need one process. */
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "boardutil/gpio_abi.h"
#include "boardutil/rdm_abi.h"
#include "boardutil/wireless_abi.h"

static const char *error_name(int error)
{
	switch (error) {
	case EINVAL:
		return "EINVAL";
	case EIO:
		return "EIO";
	case EFAULT:
		return "EFAULT";
	case ENOENT:
		return "ENOENT";
	case ENODEV:
		return "ENODEV";
	case EOPNOTSUPP:
		return "EOPNOTSUPP";
	case EPERM:
		return "EPERM";
	case ENOTTY:
		return "ENOTTY";
	default:
		return "EOTHER";
	}
}

static int report(int result)
{
	if (result < 0) {
		printf("error %s\n", error_name(errno));
		return 1;
	}
	return 0;
}

/* "ok" for a request that succeeded, else its error. */
static int outcome(int result)
{
	if (report(result))
		return 1;
	printf("ok\n");
	return 0;
}

static unsigned long number(const char *text)
{
	return strtoul(text, NULL, 0);
}

static int open_device(const char *path, int flags)
{
	int fd = open(path, flags | O_CLOEXEC);

	if (fd < 0) {
		printf("error %s\n", error_name(errno));
		exit(1);
	}
	return fd;
}

/* A request on a fresh descriptor of the device; arg as given. */
static int device_request(const char *path, unsigned long cmd, void *arg)
{
	int fd = open_device(path, O_RDONLY);
	int result = ioctl(fd, cmd, arg);
	int saved = errno;

	close(fd);
	errno = saved;
	return result;
}

/* read DEVICE CMD [WORD]: the address of one word (WORD, else 0x5a5a5a5a
 * beforehand) as the argument; prints the word afterwards. */
static int read_word(int argc, char **argv)
{
	uint32_t word = argc > 3 ? (uint32_t)number(argv[3]) : 0x5a5a5a5a;

	if (report(device_request(argv[1], number(argv[2]), &word)))
		return 1;
	printf("ok 0x%x\n", word);
	return 0;
}

/* value DEVICE CMD VALUE: the value itself as the argument. */
static int value(char **argv)
{
	return outcome(device_request(argv[1], number(argv[2]), (void *)number(argv[3])));
}

/* record DEVICE CMD WORD...: the address of the words (a led_info, a gpio_info). */
static int record(int argc, char **argv)
{
	uint32_t words[8];
	int count = argc - 3;

	for (int i = 0; i < count && i < 8; ++i)
		words[i] = (uint32_t)number(argv[3 + i]);
	return outcome(device_request(argv[1], number(argv[2]), words));
}

/* wifi IF CMD FLAGS LENGTH [null|SHOWN]: prints the length field as it
 * came back and the answer's first LENGTH (or SHOWN) bytes in hex; the
 * buffer holds 0xee beforehand, "null" passes no buffer. */
static int wifi(int argc, char **argv)
{
	static unsigned char answer[4096];
	oid_request request;
	int sock, result;

	if (argc < 5) {
		fprintf(stderr, "probe: bad wifi request\n");
		return 2;
	}
	memset(answer, 0xee, sizeof answer);
	memset(&request, 0, sizeof request);
	snprintf(request.ifr_name, sizeof request.ifr_name, "%s", argv[1]);
	request.u.data.flags = (uint16_t)number(argv[3]);
	request.u.data.length = (uint16_t)number(argv[4]);
	request.u.data.pointer = argc > 5 && strcmp(argv[5], "null") == 0 ? NULL : answer;
	sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
	result = ioctl(sock, number(argv[2]), &request);
	close(sock);
	if (report(result))
		return 1;
	unsigned shown = argc > 5 ? (unsigned)number(argv[5]) : request.u.data.length;
	if (shown > sizeof answer)
		shown = sizeof answer;
	printf("ok length=%u ", request.u.data.length);
	for (unsigned i = 0; i < shown; ++i)
		printf("%02x", answer[i]);
	printf("\n");
	return 0;
}

static int control(const char *line)
{
	int fd = open_device("/dev/boardctl", O_WRONLY);
	int result = (int)write(fd, line, strlen(line));
	int saved = errno;

	close(fd);
	errno = saved;
	return outcome(result);
}

/* A descriptor of the log read to its end sees only what comes later;
 * poll says when there is some. */
static int log_follow(void)
{
	char buffer[8192];
	int log = open_device("/dev/boardlog", O_RDONLY);
	ssize_t count;
	uint32_t word;

	while ((count = read(log, buffer, sizeof buffer)) > 0) {
	}
	struct pollfd waiting = { log, POLLIN, 0 };
	printf("at end: %d\n", poll(&waiting, 1, 0));
	word = RDM_WAN_PORT_REGISTER;
	device_request("/dev/rdm0", RDM_CMD_READ, &word);
	printf("after a request: %d\n", poll(&waiting, 1, 0));
	count = read(log, buffer, sizeof buffer - 1);
	buffer[count > 0 ? count : 0] = '\0';
	printf("new: %s", buffer);
	count = read(log, buffer, sizeof buffer);
	printf("then: %zd\n", count);
	close(log);
	return 0;
}

/* N reads of the switch register on one descriptor: N log lines. */
static int fill(unsigned count)
{
	int fd = open_device("/dev/rdm0", O_RDONLY);
	uint32_t word;

	for (unsigned i = 0; i < count; ++i) {
		word = RDM_WAN_PORT_REGISTER;
		ioctl(fd, RDM_CMD_READ, &word);
	}
	close(fd);
	printf("ok\n");
	return 0;
}

/* Random requests and control lines, many of them malformed. */
static int stress(unsigned rounds)
{
	static const char *const lines[] = {
		"button 0x3 1",
		"wifi-status ra0 0 1 34",
		"wifi-acl rai0 count=999 02:00:00:00:00:01",
		"wifi-connstatus apcli0 1",
		"wifi-fail ra0 all",
		"wifi-fail ra0",
		"gpio-fail read",
		"gpio-fail",
		"rdm-fail 0x6B03",
		"rdm-fail",
		"log clear",
		"reset",
		"bogus",
		"button 2",
		"wifi-profile ra0 ssid=x key=y",
		"wifi-configured apcli0 ssid=\\x",
		"wan-link 0",
	};
	unsigned char buffer[4096];
	int gpio_fd = open_device("/dev/gpio", O_RDONLY);
	int rdm_fd = open_device("/dev/rdm0", O_RDONLY);
	int ctl = open_device("/dev/boardctl", O_WRONLY);
	int sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
	static const unsigned long gpio_cmds[] = { 0x11, 0x13, 0x15, 0x17, 0x02, 0x52,
						   0x62, 0x72, 0x41, 0x08, 0x0A, 0x99 };
	static const char *const ifs[] = { "ra0", "rai0", "rax0", "apcli0", "apclii0", "rai3" };
	oid_request request;

	srand(rounds);
	for (unsigned i = 0; i < rounds; ++i) {
		unsigned pick = (unsigned)rand();
		void *arg = (pick & 16)	  ? (void *)buffer
			    : (pick & 32) ? (void *)(uintptr_t)(pick & 0xff)
					  : (void *)(uintptr_t)0xc0000000u;
		memset(buffer, (int)(pick >> 8), sizeof buffer);
		switch (pick % 4) {
		case 0:
			ioctl(gpio_fd, gpio_cmds[(pick >> 4) % 12], arg);
			break;
		case 1:
			ioctl(rdm_fd, (pick & 64) ? RDM_CMD_READ : RDM_CMD_PREPARE, arg);
			break;
		case 2:
			memset(&request, 0, sizeof request);
			snprintf(request.ifr_name, sizeof request.ifr_name, "%s",
				 ifs[(pick >> 3) % 6]);
			request.u.data.pointer = arg;
			request.u.data.length = (uint16_t)(pick >> 12);
			request.u.data.flags =
				(pick & 128) ? OID_WSC_STATUS : (uint16_t)(pick >> 16);
			ioctl(sock, 0x8BE0 + (pick >> 20) % 32, &request);
			break;
		default: {
			const char *line = lines[(pick >> 4) % (sizeof lines / sizeof lines[0])];
			ssize_t written = write(ctl, line, strlen(line));
			(void)written;
		}
		}
	}
	close(gpio_fd);
	close(rdm_fd);
	close(ctl);
	close(sock);
	printf("ok %u rounds\n", rounds);
	return 0;
}

int main(int argc, char **argv)
{
	setvbuf(stdout, NULL, _IOLBF, 0);
	if (argc < 2) {
		fprintf(stderr, "usage: probe read DEVICE CMD [WORD] | value DEVICE CMD VALUE | "
				"record DEVICE CMD WORD...\n"
				"             | wifi IF CMD FLAGS LENGTH [null|SHOWN] | ctl LINE | "
				"log-follow | fill N | stress ROUNDS\n");
		return 2;
	}
	const char *what = argv[1];
	if (strcmp(what, "read") == 0 && (argc == 4 || argc == 5))
		return read_word(argc - 1, argv + 1);
	if (strcmp(what, "value") == 0 && argc == 5)
		return value(argv + 1);
	if (strcmp(what, "record") == 0 && argc >= 5 && argc <= 11)
		return record(argc - 1, argv + 1);
	if (strcmp(what, "wifi") == 0)
		return wifi(argc - 1, argv + 1);
	if (strcmp(what, "ctl") == 0 && argc == 3)
		return control(argv[2]);
	if (strcmp(what, "log-follow") == 0)
		return log_follow();
	if (strcmp(what, "fill") == 0 && argc == 3)
		return fill((unsigned)number(argv[2]));
	if (strcmp(what, "stress") == 0 && argc == 3)
		return stress((unsigned)number(argv[2]));
	fprintf(stderr, "probe: unknown request %s\n", what);
	return 2;
}
