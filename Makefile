# A thin layer over CMake. `make run` and `make test` are the two set-up commands:
# both install what is missing, configure, build and prepare Data/ first.
BUILD ?= build
GENERATOR := Ninja
CTEST_JOBS ?= 2
# Where `make install` puts the game (bin/kelvidron is the launcher).
PREFIX ?= /usr/local

# The sanitized build and the fuzz targets live in folders of their own.
SAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 300
FUZZ_TEST_SECONDS ?= 30

.PHONY: all deps configure build run test bench format clean sanitized fuzz-build fuzz soak

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) -G $(GENERATOR); fi

build: configure
	@cmake --build $(BUILD)

run: build
	@scripts/run-game.sh $(BUILD)

# The plain suite, the same suite built with AddressSanitizer and UBSan, and every
# fuzz target briefly on its corpus.
test: build sanitized fuzz-build
	@scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(CTEST_JOBS)
	@scripts/with-display.sh ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(CTEST_JOBS)
	@scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_TEST_SECONDS)

sanitized: deps
	@if ! grep -qs '^KELVIDRON_SANITIZE:BOOL=ON' $(SAN_BUILD)/CMakeCache.txt; then \
		cmake -S . -B $(SAN_BUILD) -G $(GENERATOR) -DKELVIDRON_SANITIZE=ON; fi
	@cmake --build $(SAN_BUILD)

fuzz-build: deps
	@if [ ! -f $(FUZZ_BUILD)/CMakeCache.txt ]; then cmake -S fuzz -B $(FUZZ_BUILD) -G $(GENERATOR) -DCMAKE_CXX_COMPILER=clang++; fi
	@cmake --build $(FUZZ_BUILD)

# Every fuzz target for FUZZ_SECONDS, side by side.
fuzz: fuzz-build
	@scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# A simulated hour of random play, and five minutes of the real game under random
# keys and resizes.
soak: build
	@cd $(BUILD) && KELVIDRON_SOAK_STEPS=360000 tests/unit_tests --gtest_filter='Soak.*'
	@KELVIDRON_SOAK_SECONDS=300 scripts/with-display.sh bash tests/e2e/program_soak.sh $(BUILD)

bench: build
	@scripts/with-display.sh scripts/run-benchmarks.sh $(BUILD)

.PHONY: install package
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX) --strip

# A .deb of the game for Debian 12, in the build folder.
package: build
	@cd $(BUILD) && cpack -G DEB

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)
