# A thin layer over CMake. `make run` and `make test` are the two set-up commands:
# both install what is missing, configure, build and prepare Data/ first.
# The three build trees are CMake presets (CMakePresets.json): plain in build/,
# sanitized in build-asan/, fuzz in build-fuzz/.
BUILD := build
SAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
# Where `make install` puts the game (bin/kelvidron is the launcher).
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 300
FUZZ_TEST_SECONDS ?= 10

.PHONY: all deps configure build run test check bench format clean sanitized fuzz-build fuzz soak

all: build

deps:
	@scripts/install-deps.sh

# A tree is configured when it has none yet or the presets changed; after that
# `cmake --build` runs CMake again by itself whenever a CMakeLists.txt changes.
# The package check is one question to dpkg, so every build asks it.
$(BUILD)/build.ninja: CMakePresets.json | deps
	@cmake --preset plain --log-level=WARNING
	@touch $@

configure: deps
	@cmake --preset plain --log-level=WARNING

build: deps $(BUILD)/build.ninja
	@cmake --build --preset plain

run: build
	@scripts/run-game.sh $(BUILD)

# Three passes, each on its own X server: the plain build's whole suite; the
# sanitized build's tests of the code that handles memory, with a few of the real
# game's start-ups against damaged files; every fuzz target for a few seconds.
test: build sanitized fuzz-build
	@scripts/with-display.sh ctest --preset plain
	@scripts/with-display.sh ctest --preset sanitized
	@scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_TEST_SECONDS)

# The quick loop after a change: builds and runs the plain build's unit and OpenGL tests.
check: $(BUILD)/build.ninja
	@cmake --build --preset quick
	@scripts/with-display.sh ctest --preset quick

$(SAN_BUILD)/build.ninja: CMakePresets.json | deps
	@cmake --preset sanitized --log-level=WARNING
	@touch $@

sanitized: deps $(SAN_BUILD)/build.ninja
	@cmake --build --preset sanitized

# A fuzz tree made before it was a configuration of the root project is made afresh.
FUZZ_TREE_STALE := $(shell grep -qs '^CMAKE_HOME_DIRECTORY:INTERNAL=.*/fuzz$$' $(FUZZ_BUILD)/CMakeCache.txt && echo stale-fuzz-tree)
.PHONY: stale-fuzz-tree
$(FUZZ_BUILD)/build.ninja: CMakePresets.json $(FUZZ_TREE_STALE) | deps
	@if [ -n "$(FUZZ_TREE_STALE)" ]; then rm -rf $(FUZZ_BUILD); fi
	@cmake --preset fuzz --log-level=WARNING
	@touch $@

fuzz-build: deps $(FUZZ_BUILD)/build.ninja
	@cmake --build --preset fuzz

# Every fuzz target for FUZZ_SECONDS, side by side.
fuzz: fuzz-build
	@scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# A simulated hour of random play, twelve minutes of the real game under random
# keys and resizes (four to settle, eight judged), and the online duel's whole
# impairment matrix on loopback.
soak: build
	@cd $(BUILD) && KELVIDRON_SOAK_STEPS=360000 tests/unit_tests --gtest_filter='Soak.*'
	@KELVIDRON_SOAK_SECONDS=720 scripts/with-display.sh bash tests/e2e/program_soak.sh $(BUILD)
	@bash tests/e2e/online_matrix.sh $(BUILD) .

bench: build
	@scripts/with-display.sh scripts/run-benchmarks.sh $(BUILD)

.PHONY: install package package-check
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX) --strip

# A .deb of the game for Debian 12, in the build folder.
package: build
	@cd $(BUILD) && cpack -G DEB

# Not part of `make test`: as root and with the Debian mirror, a bare Debian 12 made
# in a folder of build/ installs the package with apt and runs every program there,
# the game on an X server of its own (well under a minute; the log is
# build/package-check.log).
package-check: build
	@scripts/with-display.sh scripts/package-check.sh $(BUILD)

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)
