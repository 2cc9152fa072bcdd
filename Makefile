# Two commands for a fresh Debian 12 machine:
#   make run   - build and start the simulated board with its front panel
#   make test  - build and run every test, on the host and for mipsel under qemu,
#                and the scenarios on the virtual board (qemu-system-mipsel)
#   make board - boot the virtual board (qemu-system-mipsel) with the same
#                front panel as make run; q powers it off
# CI (.ci/run) also makes release (an optimised build, warning-free like every
# build) and test-asan (the host tests under the sanitizers).
# Both install what they need with apt-get first (make deps).

JOBS ?= 2
HOST_BUILD := build/host
MIPSEL_BUILD := build/mipsel
# The virtual board's C library: uclibc (uClibc-ng, the default) or musl
# (make test-board LIBC=musl). Its cross build, the product with the
# image's helpers (ROUTERD_BOARD_TOOLS), is build/mipsel-LIBC.
LIBC ?= uclibc
BOARD_BUILD := build/mipsel-$(LIBC)
# MIPS16=ON builds the board's product in MIPS16e code (make test-board
# MIPS16=ON); each board build passes the choice, so OFF is the default again.
MIPS16 ?= OFF
PACKAGES := cmake make g++ libgtest-dev googletest libbenchmark-dev \
            g++-mipsel-linux-gnu qemu-user-static iproute2 iputils-ping tmux strace valgrind \
            clang libclang-rt-14-dev clang-format qemu-system-mips cpio squashfs-tools xz-utils \
            pkgconf

# Every goal but the format ones, which run in place also in a hidden checkout.
GOALS := all deps binfmt host release mipsel mipsel-uclibc mipsel-musl sysroots asan fuzz faults \
         faults-short run test test-host test-mipsel test-asan bench bench-short size clean board \
         board-build test-board test-radio test-radio-timeout bench-board bench-board-store powercut test-powercut powercut-wear

.PHONY: $(GOALS) format format-check

# Every C and C++ file in the project's style (.clang-format; the board's
# kernel module has its own in sim/board/driver).
# Made in place, also in a hidden checkout: they run nothing in the sandbox.
SOURCES = $(shell git ls-files '*.c' '*.cpp' '*.h')
format: deps
	clang-format -i $(SOURCES)

format-check: deps
	@clang-format --dry-run -Werror $(SOURCES) && echo "format: $(words $(SOURCES)) files as clang-format makes them"

# The sandbox gives its programs fresh /tmp, /run and /var, which hides a
# checkout lying below them. Such a checkout is mirrored to a visible place
# and the goal is made there.
HIDDEN_CHECKOUT := $(filter /tmp/% /run/% /var/%,$(CURDIR)/)
ifneq ($(HIDDEN_CHECKOUT),)
MIRROR := $(or $(HOME),/root)/.cache/routerd/$(notdir $(CURDIR))

$(GOALS):
	@echo "$(CURDIR) is hidden inside the sandbox; working in the mirror $(MIRROR)"
	mkdir -p $(MIRROR)
	tar -C $(CURDIR) --exclude=./build -cf - . | tar -C $(MIRROR) -xf -
	$(MAKE) --no-print-directory -C $(MIRROR) $@

else
all: host

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y $$missing; \
	fi

# mipsel programs run through binfmt_misc and qemu-mipsel-static.
binfmt:
	@SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	[ -e /proc/sys/fs/binfmt_misc/register ] || $$SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc; \
	[ -e /proc/sys/fs/binfmt_misc/qemu-mipsel ] || \
	  $$SUDO sh -c 'cat /usr/lib/binfmt.d/qemu-mipsel.conf > /proc/sys/fs/binfmt_misc/register'

host:
	cmake --preset host -DBOARD_LIBC=$(LIBC) >/dev/null
	cmake --build --preset host -j $(JOBS)

release:
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

mipsel: host
	cmake --preset mipsel -DSANDBOX_PROGRAM=$(CURDIR)/$(HOST_BUILD)/sim/sandbox \
	  -DHOST_FAKEHW=$(CURDIR)/$(HOST_BUILD)/sim/libfakehw.so >/dev/null
	cmake --build --preset mipsel -j $(JOBS)

# The router's own C libraries: uClibc-ng built from Debian's source and
# musl from Debian's packages, each into a sysroot cached under
# ~/.cache/routerd-sysroots (cmake/sysroots/); the builds on them are the
# product alone, what a firmware flashes (uClibc-ng) and OpenWrt's C library.
sysroots: deps
	JOBS=$(JOBS) sh cmake/sysroots/build_uclibc_ng.sh
	sh cmake/sysroots/unpack_musl.sh

mipsel-uclibc mipsel-musl: deps
	JOBS=$(JOBS) cmake --preset $@ >/dev/null
	cmake --build --preset $@ -j $(JOBS)

asan: host
	cmake --preset asan -DSANDBOX_PROGRAM=$(CURDIR)/$(HOST_BUILD)/sim/sandbox >/dev/null
	cmake --build --preset asan -j $(JOBS)

run: deps host
	$(HOST_BUILD)/sim/sandbox --preload $(HOST_BUILD)/sim/libfakehw.so -- $(CURDIR)/$(HOST_BUILD)/sim/panel

test: deps
	$(MAKE) --no-print-directory test-host
	$(MAKE) --no-print-directory test-mipsel
	$(MAKE) --no-print-directory test-board

test-host: host
	cd $(HOST_BUILD) && ctest --output-on-failure -j $(JOBS) -LE board

test-mipsel: binfmt mipsel
	cd $(MIPSEL_BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps asan
	cd build/asan && ASAN_OPTIONS=verify_asan_link_order=0 ctest --output-on-failure -j $(JOBS) -LE board

# Each fuzz target for FUZZ_SECONDS seconds (libFuzzer, clang).
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz --target fuzzers -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh build/fuzz

# Every system call and allocation of nvram and the daemons failing in turn;
# faults-short (CI) fails the first of each system call and a few allocations.
faults: deps host
	faults/run.sh $(HOST_BUILD)

faults-short: deps host
	faults/run.sh $(HOST_BUILD) "nvram daemons" short

bench: deps host
	bench/run.sh $(HOST_BUILD)

# Every benchmark with small counts, failing when one fails (CI runs it).
bench-short: deps host
	bench/run.sh --short $(HOST_BUILD)

# Sizes of the router programs on glibc, uClibc-ng and musl, MIPS32 and
# MIPS16e, and the product's share of a squashfs firmware image.
size: deps
	JOBS=$(JOBS) bench/size.sh build/size

# The virtual board with the front panel: sim/radio/prepare.sh makes the
# radio image in build/radio (the board's packages and the WPS peers, fetched
# once with a private apt state, its driver, its image from the mipsel
# build); the panel (outside the sandbox) boots it through sim/board/boot.sh
# in qemu-system-mipsel; quitting powers it off and removes its temporary
# directory.
# sim/board/boot.sh alone boots it with the console in the terminal.
board: deps host board-build
	sim/radio/prepare.sh build/radio $(BOARD_BUILD)
	$(HOST_BUILD)/sim/panel --board --radio

# The product and the image's helpers built with the board's C library.
board-build: deps
	JOBS=$(JOBS) cmake --preset mipsel-$(LIBC) -DROUTERD_BOARD_TOOLS=ON -DROUTERD_MIPS16=$(MIPS16) >/dev/null
	cmake --build --preset mipsel-$(LIBC) -j $(JOBS)

# Every board scenario, the real WPS peers' included; not the long time-out run.
test-board: deps host board-build
	cd $(HOST_BUILD) && ctest --output-on-failure -L board -LE board-radio-long

# WPS with real peers on the virtual board (sim/radio): hostapd access
# points, wpa_supplicant phones, the bridge to the board driver.
test-radio: deps host board-build
	cd $(HOST_BUILD) && ctest --output-on-failure -L board-radio -LE board-radio-long

# A WPS session nobody joins on the radio board, to its end: buttond's
# time-out at the 61st poll beside hostapd's own 120 s walk time (about 4 min).
test-radio-timeout: deps host board-build
	cd $(HOST_BUILD) && ctest --output-on-failure -V -L board-radio-long

# Boot, memory and CPU figures of the daemons on the virtual board.
bench-board: deps board-build
	JOBS=$(JOBS) bench/board_figures.sh build/bench-board $(BOARD_BUILD)

# 1000 runs of `nvram get` on the virtual board against 1000 of BusyBox true.
bench-board-store: deps board-build
	JOBS=$(JOBS) bench/board_store.sh build/bench-board $(BOARD_BUILD)

# Power cuts on the virtual board (sim/board/powercut): repeater sessions cut
# after each of their file replacements STEPS (1st to 7th), then CUTS cuts at
# random moments, each one printed with its seed; test-powercut is the short
# run. powercut-wear prints the flash written per store operation.
POWERCUT_DIR := build/powercut
CUTS ?= 200
STEPS ?= 1-7
powercut: deps board-build
	sim/board/powercut/prepare.sh $(POWERCUT_DIR) $(BOARD_BUILD)
	sim/board/powercut/campaign.py --steps $(STEPS) --cuts $(CUTS) --board-dir $(POWERCUT_DIR)

powercut-wear: deps board-build
	sim/board/powercut/prepare.sh $(POWERCUT_DIR) $(BOARD_BUILD)
	sim/board/powercut/wear.py --board-dir $(POWERCUT_DIR)

test-powercut:
	$(MAKE) --no-print-directory powercut CUTS=$(if $(filter command line,$(origin CUTS)),$(CUTS),2)

clean:
	rm -rf build

endif
