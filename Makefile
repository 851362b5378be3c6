# Two commands set everything up: `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Debian 12 packages the build and the tests need.
PACKAGES := cmake g++ make pkg-config \
	qt6-base-dev libhidapi-dev libgtest-dev libgmock-dev libbenchmark-dev \
	fonts-liberation \
	prometheus-cpp-dev prometheus dpkg-dev file desktop-file-utils appstream groff-base
# What `make bench` needs beyond that: a virtual X server for the dashboard,
# and xdotool to see its window appear.
BENCH_PACKAGES := xvfb xauth xdotool x11-utils
# What `make fuzz` needs beyond that: clang with its fuzzer and sanitizer runtimes.
FUZZ_PACKAGES := clang libclang-rt-14-dev
# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 60

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps bench-deps fuzz-deps configure build run test bench fuzz screenshots sanitize clean

all: build

deps:
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES)"

bench-deps:
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES) $(BENCH_PACKAGES)"

fuzz-deps:
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES) $(FUZZ_PACKAGES)"

install-packages:
	@missing=""; for p in $(WANTED); do \
		dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DKVRNS_BUILD_TESTS=ON -DKVRNS_BUILD_BENCH=ON -DKVRNS_SANITIZE=OFF

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

# The dashboard on the simulated supply; on a machine without a display, the
# same supply on the terminal.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		$(BUILD_DIR)/src/kvrns --device sim; \
	else \
		echo "No display found: showing the simulated supply on the terminal instead."; \
		$(BUILD_DIR)/src/kvrns-cli status --device sim --cycles 3; \
	fi

test: build
	ctest --test-dir $(BUILD_DIR) -j$(JOBS) --output-on-failure

bench: bench-deps build
	bench/run_all.sh $(BUILD_DIR) 60

# The fuzz targets built with clang and libFuzzer: first their committed
# corpora, then FUZZ_SECONDS of fuzzing each.
fuzz: fuzz-deps
	CC=clang CXX=clang++ cmake -S tests/fuzz -B $(BUILD_DIR)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR)-fuzz -j$(JOBS)
	ctest --test-dir $(BUILD_DIR)-fuzz --output-on-failure
	tests/fuzz/run.sh $(BUILD_DIR)-fuzz $(FUZZ_SECONDS)

screenshots: build
	cmake --build $(BUILD_DIR) --target screenshots

# Everything and every test under AddressSanitizer and UndefinedBehaviorSanitizer,
# the soak tests and the fuzz corpora included; CI runs it after `make test`.
sanitize: deps
	cmake -S . -B $(BUILD_DIR)-asan -DCMAKE_BUILD_TYPE=Debug -DKVRNS_SANITIZE=ON -DKVRNS_BUILD_BENCH=OFF
	cmake --build $(BUILD_DIR)-asan -j$(JOBS)
	ctest --test-dir $(BUILD_DIR)-asan -j$(JOBS) --output-on-failure

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-asan $(BUILD_DIR)-fuzz
