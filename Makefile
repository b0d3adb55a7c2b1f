# Everything on a fresh Debian 12 machine:
#   make demo   installs the build packages when missing, builds, and runs the
#               sample race day and the sample season in a scratch copy
#   make test   installs, builds and runs every test, then the core and
#               collect tests again under AddressSanitizer and UBSan

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
DEB_PACKAGES = build-essential cmake pkg-config git liblhasa-dev libcli11-dev \
               libgtest-dev libgmock-dev libbenchmark-dev python3 \
               qt6-base-dev qt6-charts-dev qt6-qpa-plugins qt6-translations-l10n fonts-noto-cjk cmark \
               libsqlite3-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build test test-asan demo gui bench fuzz package samples clean

all: build

deps:
	@missing=""; for p in $(DEB_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)
	$(MAKE) test-asan

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTOLV_SANITIZE=ON -DTOLV_BUILD_BENCH=OFF -DTOLV_BUILD_UI=OFF
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target tolv_core_tests tolv_collect_tests tolv_odds_tests
	cd $(ASAN_BUILD)/tests && for t in tolv_core_tests tolv_collect_tests tolv_odds_tests; do \
	  TOLV_TEST_DATA=$(CURDIR)/tests/data ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ./$$t --gtest_brief=1 || exit 1; done

demo: build
	tools/demo.sh $(BUILD)/src/cli/tolv-cli

# Writes the sample day and the sample season anew from their generators
# (the same bytes on every run). Only these need the lha command, so its
# package (jlha-utils, which brings Java) is installed here, not by deps.
samples:
	@$(MAKE) --no-print-directory deps DEB_PACKAGES="jlha-utils python3"
	tools/gen_sample_day.py
	tools/gen_sample_season.py

# The desktop program on a scratch copy of the sample race day.
gui: build
	tools/gui.sh $(BUILD)/src/ui/tolv

# Every tolv-cli step on a large generated race day, as ratios to grep/cat
# baselines of the same run (bench/race_day_bench.sh; BENCH_MB of logs); then
# the desktop program's long steps against tolv-cli (bench/desktop_bench.sh)
# and the history database on that day (bench/history_bench.sh).
BENCH_MB ?= 100
bench: build
	bench/race_day_bench.sh $(BUILD)/src/cli/tolv-cli $(BENCH_MB)
	bench/desktop_bench.sh $(BUILD)/src/cli/tolv-cli $(BUILD)/bench/tolv-desktop-bench $(BENCH_MB)
	bench/history_bench.sh $(BUILD)/src/cli/tolv-cli $(BENCH_MB)

# The libFuzzer targets in a clang build of their own, each run for
# FUZZ_SECONDS; clang and its fuzzer runtime are installed only for this.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_PACKAGES = clang libclang-rt-14-dev

fuzz: deps
	@$(MAKE) --no-print-directory deps DEB_PACKAGES="$(FUZZ_PACKAGES)"
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLV_FUZZ=ON \
	  -DTOLV_BUILD_UI=OFF -DTOLV_BUILD_TESTS=OFF -DTOLV_BUILD_BENCH=OFF -DTOLV_BUILD_CLI=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz-targets
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The Debian package (tolv_<version>_<arch>.deb in the build folder).
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
