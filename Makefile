# Two commands set everything up: `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Debian 12 packages the build and the tests need.
PACKAGES := cmake g++ make pkg-config \
	qt6-base-dev libhidapi-dev libgtest-dev libgmock-dev libbenchmark-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test bench sanitize clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
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

run: build
	$(BUILD_DIR)/src/kvrns-cli status --device sim

test: build
	ctest --test-dir $(BUILD_DIR) -j$(JOBS) --output-on-failure

bench: build
	$(BUILD_DIR)/bench/kvrns_bench

# The core and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(BUILD_DIR)-asan -DCMAKE_BUILD_TYPE=Debug -DKVRNS_SANITIZE=ON -DKVRNS_BUILD_BENCH=OFF
	cmake --build $(BUILD_DIR)-asan -j$(JOBS)
	ctest --test-dir $(BUILD_DIR)-asan -j$(JOBS) --output-on-failure

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-asan
