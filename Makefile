# Numerillo: the two everyday commands are `make run` and `make test`.
# Both install whatever Debian packages are missing, configure and build first.

BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

SANITIZE_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

# The one clock of every build and package: the last commit's time, unless SOURCE_DATE_EPOCH
# is set already (outside a git clone, the Debian changelog's date, as dpkg takes it).
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

.PHONY: all deps build run test bench bench-startup bench-windows sanitize fuzz package check-format check-scripts clean windows test-windows

all: build

deps:
	@scripts/install-deps

# Extra options for the configure step; the targets below that need the benchmarks add them.
CONFIGURE ?=
test bench bench-startup bench-windows: CONFIGURE += -DNUMERILLO_BENCH=ON

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/app/numerillo

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bench/quiz_bench

bench-startup: build
	BUILD_DIR=$(BUILD_DIR) bench/startup.sh

# The Debian source and binary packages from debian/, checked (fields, files, lintian), in
# DEB_DIR (scripts/build-deb).
DEB_DIR ?= build-deb
package:
	scripts/build-deb $(DEB_DIR)

# Every release file built twice, in two directories at two times, compared byte for byte
# (scripts/check-reproducible); the Windows files where their static Qt is cached.
.PHONY: check-reproducible
check-reproducible:
	scripts/check-reproducible

# The Windows files signed with a throw-away certificate and verified (scripts/check-signing).
.PHONY: check-signing
check-signing:
	scripts/check-signing

# The release folder: sources, .deb, both .exe, both .msi, SHA256SUMS (scripts/make-release).
RELEASE_WINDOWS ?= x86_64 i686
.PHONY: release
release:
	scripts/make-release --windows "$(RELEASE_WINDOWS)"

# The engine's tests again, under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DNUMERILLO_ENGINE_ONLY=ON \
		-DNUMERILLO_BENCH=OFF "-DCMAKE_CXX_FLAGS=$(SANITIZE_FLAGS)"
	cmake --build build-sanitize -j $(JOBS)
	ctest --test-dir build-sanitize --output-on-failure -j $(JOBS)

# libFuzzer on the answer reading, with both sanitizers; FUZZ_SECONDS=600 for a long run.
fuzz:
	@scripts/install-deps --fuzz
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DNUMERILLO_ENGINE_ONLY=ON -DNUMERILLO_BENCH=OFF -DNUMERILLO_FUZZ=ON \
		"-DCMAKE_CXX_FLAGS=$(SANITIZE_FLAGS) -fsanitize=fuzzer-no-link"
	cmake --build build-fuzz -j $(JOBS) --target read_answer_fuzz
	mkdir -p build-fuzz/corpus
	build-fuzz/tests/fuzz/read_answer_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
		build-fuzz/corpus tests/fuzz/seeds

# The window tests on the heavier desktops too: GNOME's mutter and KDE's KWin as X11 window
# managers, and GNOME and Plasma Wayland sessions (nested mutter or KWin, Xwayland). Their
# packages are installed here only; the tests are in a build of their own, so that `make test`
# stays as it is. Each test's desktop is private to it (its own namespaces), so they could run
# side by side, but two nested compositors at once starve a two-core machine: mutter then answers
# too late to be asked for a window's frame. They run one at a time unless DESKTOPS_JOBS says
# otherwise.
DESKTOPS_BUILD_DIR ?= $(BUILD_DIR)/desktops
DESKTOPS_JOBS ?= 1
.PHONY: test-desktops
test-desktops:
	@scripts/install-deps --desktops
	cmake -S . -B $(DESKTOPS_BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DNUMERILLO_BENCH=OFF \
		-DNUMERILLO_DESKTOPS_EXTRA=ON
	cmake --build $(DESKTOPS_BUILD_DIR) -j $(JOBS) --target numerillo
	ctest --test-dir $(DESKTOPS_BUILD_DIR) --output-on-failure -L desktops-extra -j $(DESKTOPS_JOBS)

# Every C++ file as clang-format (see .clang-format) would write it.
check-format: deps
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# Every shell script of the repository (a tracked file whose first line runs sh or bash)
# as shellcheck wants it.
check-scripts: deps
	git ls-files -z | xargs -0 awk 'FNR == 1 && /^#!.*[\/ ](ba|da)?sh( |$$)/ { print FILENAME } \
		{ nextfile }' | tr '\n' '\0' | xargs -0 -r shellcheck

clean:
	rm -rf $(BUILD_DIR) build-sanitize build-fuzz build-windows build-deb build-reproducible \
		build-signing build-release

# numerillo.exe for Microsoft Windows, x86_64 and i686, cross-built with MinGW-w64 against a
# static Qt; that Qt is built once into ~/.cache/numerillo (about half an hour per
# architecture). The programs land in build-windows/x86_64 and build-windows/i686.
windows:
	scripts/build-windows

# The x86_64 build's engine, window and installer tests, run under wine.
test-windows:
	scripts/build-windows --test

# Start-up time and memory of numerillo.exe against a minimal Qt window, both under wine on a
# private Xvfb (bench/startup-windows.sh); the probe comes from the Linux build. Not part of CI.
bench-windows: build
	scripts/build-windows --bench x86_64
	BUILD_DIR=$(BUILD_DIR) bench/startup-windows.sh
