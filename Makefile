# `make run` and `make test` do all the set-up on a fresh Debian 12 machine.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test windows bench format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/zanthera $(BUILD)/screenshot.png

# The Windows program is built first: its files are checked and its x86_64 build is tested
# under Wine.
test: build windows
	@scripts/test.sh $(BUILD)

# The native Windows program, cross-built from the artwork and definition that the Linux
# build's tools make (only those are built here).
windows: configure
	@scripts/install-deps.sh windows
	@scripts/build-windows.sh $(BUILD) build-windows

bench: build
	@scripts/bench.sh $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-*
