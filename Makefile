# A thin layer over CMake. `make run` and `make test` are the two set-up commands:
# both install what is missing, configure, build and prepare Data/ first.
BUILD ?= build
GENERATOR := Ninja
CTEST_JOBS ?= 2
# Where `make install` puts the game (bin/kelvidron is the launcher).
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) -G $(GENERATOR); fi

build: configure
	@cmake --build $(BUILD)

run: build
	@scripts/run-game.sh $(BUILD)

test: build
	@scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(CTEST_JOBS)

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
	@rm -rf $(BUILD)
