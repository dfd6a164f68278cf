# Front door of the project. Every target installs what is missing first, so that a fresh
# Debian 12 machine needs nothing but `make run` or `make test`.

PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
# Every reader of our own files has a target; each runs FUZZ_SECONDS.
FUZZ_TARGETS ?= state_archive zone_file world_places zone_map world_map place_names
CMAKE ?= cmake
DEV := build/dev
ASAN := build/asan
RELEASE := build/release
# CI builds with warnings as errors; a local build only shows them.
WERROR := $(if $(filter true,$(CI)),-DDAYBREAK_WERROR=ON)

.PHONY: all deps configure build run test test-sanitize bench fuzz data screenshot release install \
	package clean

all: build

deps:
	@bash tools/setup-deps.sh

configure: deps
	@$(CMAKE) --preset dev $(WERROR) >/dev/null

build: configure
	@$(CMAKE) --build --preset dev

# Only what running needs: the two programs and the data files (no tests, no benchmarks).
# Without a graphical session the window says so in one line; the tool then shows today's times
# at a default place, and the run ends with status 0.
run: configure
	@$(CMAKE) --build $(DEV) --target daybreak-cli daybreak_archives \
	  $$(grep -q '^DAYBREAK_WITH_GUI:BOOL=ON' $(DEV)/CMakeCache.txt && echo daybreak)
	@bash tools/run.sh $(DEV)/bin

test: build
	@ctest --preset dev

test-sanitize: deps
	@$(CMAKE) --preset asan $(WERROR) >/dev/null
	@$(CMAKE) --build --preset asan
	@ctest --preset asan

bench: deps
	@$(CMAKE) --preset release -DDAYBREAK_BUILD_BENCH=ON >/dev/null
	@$(CMAKE) --build --preset release
	@for b in build/release/bin/daybreak_bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

fuzz: deps
	@$(CMAKE) --preset fuzz $(WERROR) >/dev/null
	@$(CMAKE) --build --preset fuzz
	@for t in $(FUZZ_TARGETS); do \
	  DAYBREAK_FUZZ_TARGET=$$t bash tests/fuzz/run-fuzz.sh build/fuzz $(FUZZ_SECONDS) || exit 1; \
	done

data:
	@cd tools/data && npm ci --no-audit --no-fund && node build-places.mjs

screenshot: build
	@bash tools/screenshot.sh $(DEV)

# What is installed or packaged is the optimised, hardened build, stripped of its symbols. The
# preset switches the benchmarks off, whatever an earlier `make bench` left in the same tree.
release: deps
	@$(CMAKE) --preset release >/dev/null
	@$(CMAKE) --build --preset release

install: release
	@$(CMAKE) --install $(RELEASE) --prefix $(PREFIX) --strip

package: release
	@cd $(RELEASE) && cpack -G DEB

clean:
	rm -rf build
