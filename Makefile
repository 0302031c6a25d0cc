# The two commands a player or developer needs: `make play` and `make test`.
# Both install what is missing first (scripts/install-deps).

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
ARGS       ?=
CTEST_ARGS ?=

.PHONY: all deps build build-asan play test bench assets clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMW_SANITIZE=ON

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

play: build
	./$(BUILD)/moewenschuss $(ARGS)

# Every test, first in the release build and then once more under
# AddressSanitizer and UndefinedBehaviorSanitizer.
test: build build-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

bench: build
	./$(BUILD)/moewenschuss_bench

# Regenerates the committed pictures and sounds (byte-identical on every run).
assets: deps
	/usr/bin/python3 tools/make_assets.py assets

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
