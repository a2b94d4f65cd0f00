# `make run` and `make test` do all the set-up on a fresh Debian 12 machine.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps windows-deps configure build run test test-win32 windows bench soak package windows-package format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/zanthera $(BUILD)/screenshot.png

# The Windows program and its installers are built first: their files are checked, and the
# x86_64 program and installer are tested under Wine, the 32-bit program too where the kernel runs
# 32-bit programs itself. Its packages come before the Linux build's
# configuration, which looks for the cross-compilers and Wine to set up those tests.
test: windows-deps build windows-package
	@scripts/test.sh $(BUILD)

# The Windows program's end-to-end tests against its 32-bit build under 32-bit Wine, through qemu
# user emulation where the kernel does not run 32-bit programs itself (slow, so there only here).
test-win32: windows-deps build windows
	@scripts/install-deps.sh win32
	@scripts/test-win32.sh $(BUILD)

windows-deps:
	@scripts/install-deps.sh windows

# The native Windows program, cross-built from the artwork and definition that the Linux
# build's tools make (only those are built here).
windows: windows-deps configure
	@scripts/build-windows.sh $(BUILD) build-windows

# build/zanthera_<release>_<arch>.deb: the program with its menu entry, icons and AppStream data.
package: build
	@cmake --build $(BUILD) --target package

# build-windows/zanthera-<release>.msi, the Windows installer (x64/ holds the 64-bit one).
windows-package: windows
	@cmake --build build-windows --target windows-package
	@cmake --build build-windows/x64 --target windows-package

bench: windows-deps build windows
	@scripts/bench.sh $(BUILD)

# An hour of ticks and 10,000 launches; SOAK_SECONDS and SOAK_LAUNCHES shorten it.
soak: build
	@scripts/soak.sh $(BUILD) $(or $(SOAK_SECONDS),3600) $(or $(SOAK_LAUNCHES),10000)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-*
