# Two commands do all set-up on a fresh machine:
#   make run   installs what is missing, builds, creates the sample ERP site under var/ and opens
#              the window on it (with a display) or runs the harmonisation job (without one)
#   make test  installs what is missing, builds, and runs every test: the programs end to end in the
#              optimised build, the GoogleTest programs under ASan+UBSan
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
SITE := $(CURDIR)/var/site
export ORDAVEL_REGISTRY := $(CURDIR)/var/registry

.PHONY: deps build build-asan test test-programs test-units run install package fuzz bench screenshots \
        format clean

deps:
	@bash scripts/install-deps

build: deps
	@cmake --preset ci >/dev/null
	@cmake --build --preset ci -j $(JOBS)

build-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)

# The end-to-end tests wait on servers and pipes much of the time: one more of them than there are
# cores keeps the cores busy.
test-programs: build
	@ctest --preset ci -j $$(( $(JOBS) + 1 ))

test-units: build-asan
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j $(JOBS)

test: test-programs test-units

run: build
	@bash scripts/run-sample "$(SITE)"

# Installs the programs, the user guide, the manual pages, the menu entry and its icons below
# PREFIX (DESTDIR, when given, is put in front of every path, as for a package's staging folder).
install: build
	@cmake --install build/ci --prefix "$(PREFIX)"

# The Debian package of the same installation below /usr: build/ci/ordavel_VERSION_ARCH.deb.
package: build
	@cmake --build --preset ci --target package

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS) --target filter_fuzzer
	@mkdir -p build/fuzz/corpus
	@build/fuzz/fuzz/filter_fuzzer build/fuzz/corpus -max_total_time=$${FUZZ_SECONDS:-120}

bench: build
	@build/ci/bench/conversion_bench $${N:-100000}
	@build/ci/bench/signon_bench
	@build/ci/bench/finder_bench $${N:-100000}
	@QT_QPA_PLATFORM=offscreen build/ci/bench/gui_bench $${N:-100000}
	@QT_QPA_PLATFORM=offscreen build/ci/bench/startup_bench
	@build/ci/bench/change_file_bench 20000
	@build/ci/bench/batch_size_bench
	@build/ci/bench/undo_file_bench 50
	@QT_QPA_PLATFORM=offscreen build/ci/bench/window_batch_bench 20000
	@build/ci/bench/webapi_bench $${WEBAPI_N:-5000}
	@bash bench/plan-parallel-bench

# Draws the controls, the dialogs and the main window to build/screenshots/ on temporary sites;
# needs no display.
screenshots: build
	@QT_QPA_PLATFORM=offscreen build/ci/gui/controls/control_screenshots build/screenshots
	@QT_QPA_PLATFORM=offscreen build/ci/gui/main/window_screenshots build/screenshots
	@QT_QPA_PLATFORM=offscreen build/ci/gui/about/about_screenshots build/screenshots
	@QT_QPA_PLATFORM=offscreen build/ci/gui/plan/plan_screenshots build/screenshots

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build
