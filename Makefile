# The two commands every user needs: `make run` and `make test`. Both install what is missing.
SHELL := /bin/bash
BUILD := build
GENERATOR := -G Ninja
JOBS ?= $(shell nproc)

# Debian packages needed to build, run and test; bench and fuzz add their own below.
PACKAGES := build-essential cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins libssl-dev \
            libgtest-dev libgmock-dev libcpp-httplib-dev zlib1g-dev p7zip-full fonts-dejavu-core
BENCH_PACKAGES := libbenchmark-dev curl
FUZZ_PACKAGES := clang libclang-rt-14-dev

.PHONY: run test build bench fuzz deps bench-deps fuzz-deps format clean

define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:" $$missing; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing >/dev/null || exit 1; \
	  else \
	    echo "Missing packages. Install them with:"; \
	    echo "  sudo apt-get install -y" $$missing; \
	    exit 1; \
	  fi; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

build: deps
	cmake -S . -B $(BUILD)/release $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLMARK_WERROR=ON >/dev/null
	cmake --build $(BUILD)/release -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "vellmark needs a graphical display (DISPLAY or WAYLAND_DISPLAY is unset); run it under a virtual one with: xvfb-run -a $(BUILD)/release/app/vellmark"; \
	  exit 1; \
	fi
	$(BUILD)/release/app/vellmark

# Every test: the full build, then the core library and its tests again under ASan and UBSan.
test: build
	cd $(BUILD)/release && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(BUILD)/asan $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DVELLMARK_CORE_ONLY=ON \
	  -DVELLMARK_SANITIZE=ON -DVELLMARK_WERROR=ON >/dev/null
	cmake --build $(BUILD)/asan -j $(JOBS)
	cd $(BUILD)/asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

bench-deps: deps
	$(call install_missing,$(BENCH_PACKAGES))

bench: bench-deps
	cmake -S . -B $(BUILD)/bench $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DVELLMARK_CORE_ONLY=ON -DVELLMARK_BENCH=ON >/dev/null
	cmake --build $(BUILD)/bench -j $(JOBS)
	cmake --build $(BUILD)/bench --target run-benchmarks

fuzz-deps: deps
	$(call install_missing,$(FUZZ_PACKAGES))

# Each fuzz target runs for FUZZ_SECONDS (default 60) under ASan.
FUZZ_SECONDS ?= 60
fuzz: fuzz-deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)/fuzz $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVELLMARK_CORE_ONLY=ON -DVELLMARK_FUZZ=ON -DFUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	cmake --build $(BUILD)/fuzz -j $(JOBS) --target run-fuzzers

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
