# The two commands a player or developer needs: `make play` and `make test`.
# Both install what is missing first (scripts/install-deps).

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WIN_BUILD  ?= build-win
WEB_BUILD  ?= build-web
FUZZ_SECONDS ?= 60
SOAK_GAMES ?= 5
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
DESTDIR    ?=
ARGS       ?=
CTEST_ARGS ?=
VERSION    := $(shell awk '/^project.moewenschuss VERSION/ { print $$3 }' CMakeLists.txt)
WIN_SETUP   = $(WIN_BUILD)/moewenschuss-$(VERSION)-setup.exe

.PHONY: tidy all deps build build-asan build-fuzz play test fuzz soak bench golden assets install deb clean \
        windows windows-test web web-serve web-test web-bench

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMW_SANITIZE=ON

$(FUZZ_BUILD)/build.ninja: | deps
	cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

build-fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

play: build
	./$(BUILD)/moewenschuss $(ARGS)

# Every test, first in the release build and then once more under
# AddressSanitizer and UndefinedBehaviorSanitizer.
# Then each fuzz target for 10 s. glibc's thread cache is off in the release
# run, so that the short soak can count the heap in use there too.
test: build build-asan
	cd $(BUILD) && GLIBC_TUNABLES=glibc.malloc.tcache_count=0 ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10

# The two parsers of outside data (high-score file, headless script) under
# libFuzzer with ASan and UBSan, FUZZ_SECONDS each.
fuzz: build-fuzz
	fuzz/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The busy bot plays SOAK_GAMES whole 12:00 games at "viele", "turbo" and
# machine-gun "turbo" under ASan/UBSan, and fails when the heap in use or the
# platform's surfaces, sounds and fonts pile up from game to game; then 1000
# saves of the real program are killed at random instants. ASan's quarantine
# of freed memory is kept small, so that the resident size it prints is near
# the game's own. SOAK_FLAGS="--leak-per-game 100" plants a leak.
soak: build build-asan
	ASAN_OPTIONS=quarantine_size_mb=16 ./$(ASAN_BUILD)/moewenschuss_soak --games $(SOAK_GAMES) --time 3 $(SOAK_FLAGS)
	MW_KILLED_SAVES=1000 ./$(BUILD)/mw_tests --gtest_filter='HardeningKilledSaves.*'

# The frame and replay benchmarks, then the time from start to the first menu
# frame in a window (Xvfb with openbox); where the browser's build exists, the
# page on a CPU slowed four times at the end (make web-bench).
bench: build
	./$(BUILD)/moewenschuss_bench
	bench/window_start.sh $(BUILD)/moewenschuss
	@if [ -d $(WEB_BUILD)/moewenschuss-$(VERSION)-web ]; then \
	  scripts/install-deps web-test && \
	  /usr/bin/python3 bench/web_bench.py $(WEB_BUILD)/moewenschuss-$(VERSION)-web; \
	fi

# Writes the golden runs' event logs and picture fingerprints
# (tests/golden/NAME.log and NAME.pictures) anew, after a change that is meant
# to change them; the logs and pictures are left in $(BUILD)/golden-runs/ to
# be looked at.
golden: build
	cd $(BUILD) && MW_UPDATE_GOLDEN=1 ./mw_tests --gtest_filter='Scripts/GoldenRuns.*'

# Installs the program to PREFIX/games with its desktop entry, icons, AppStream
# data and man page; DESTDIR=DIR stages the install below DIR.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

# The Debian package $(BUILD)/moewenschuss_VERSION_ARCH.deb (program in /usr/games).
deb: build
	cd $(BUILD) && cpack --config CPackConfig.cmake

# The Windows build, cross-compiled with mingw-w64: the libraries are built
# once from Debian's source packages (scripts/build-windows-deps, cached
# outside the work tree), then $(WIN_BUILD)/moewenschuss-VERSION-win64.zip
# and the setup program $(WIN_SETUP).
windows:
	scripts/build-windows-deps
	cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	      -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WIN_BUILD) -j $(JOBS)

# The test suite under Wine, headless; the program's icon, version and
# manifest, read from the built files; the setup program installed, played
# and uninstalled silently in a fresh Wine prefix; then the Linux and the
# Windows program side by side (the same logs, pictures and tables, recordings
# replayed across, saves killed under Wine), and the Windows program in a real
# window under Wine and Xvfb, without and with a window manager, and on a
# display scaled to 150 % and not scaled.
windows-test: windows build
	cd $(WIN_BUILD) && ctest --output-on-failure
	/usr/bin/python3 tests/windows/resources_test.py $(WIN_BUILD)/moewenschuss.exe $(WIN_SETUP)
	/usr/bin/python3 tests/windows/setup_test.py $(WIN_SETUP) $(WIN_BUILD)/moewenschuss.exe
	/usr/bin/python3 tests/cross_system_test.py $(BUILD)/moewenschuss $(WIN_BUILD)/moewenschuss.exe
	tests/windows/window_wine.sh $(WIN_BUILD)/moewenschuss.exe
	tests/windows/dpi_wine.sh $(WIN_BUILD)/moewenschuss.exe

# The browser's build with Debian's emscripten: the libraries are built once
# from Debian's source packages (scripts/build-web-deps, cached outside the
# work tree), then the page's folder $(WEB_BUILD)/moewenschuss-VERSION-web/
# with a .zip beside it, and the same program for Node.js.
web:
	scripts/build-web-deps
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j $(JOBS)

# The page on http://localhost:8000/ until Ctrl+C.
web-serve: web
	/usr/bin/python3 web/serve.py $(WEB_BUILD)/moewenschuss-*-web

# The browser's build under Node.js beside the Linux program (the same logs,
# pictures and tables, recordings replayed across), then the page in a
# headless Chromium played as a player would, with its size, load time and
# frame rate.
web-test: web build
	scripts/install-deps web-test
	/usr/bin/python3 tests/cross_system_test.py $(BUILD)/moewenschuss --node $(WEB_BUILD)/moewenschuss-node.js
	/usr/bin/python3 tests/web/browser_test.py $(WEB_BUILD)/moewenschuss-*-web $(BUILD)/moewenschuss

# The page in headless Chromium with its CPU slowed four times: the time to the
# first menu from the browser's cache, and a busy game's frame rate with the
# time of each part of a pass (bench/web_bench.py). It reports, and fails only
# when the run is broken.
web-bench: web
	scripts/install-deps web-test
	/usr/bin/python3 bench/web_bench.py $(WEB_BUILD)/moewenschuss-$(VERSION)-web

# Regenerates the committed pictures, sounds and desktop icons (byte-identical on every run).
assets: deps
	/usr/bin/python3 tools/make_assets.py assets dist/icons

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN_BUILD) $(WEB_BUILD)

# The naming rules of .clang-tidy over our code (a few minutes; not in make test).
tidy: build
	run-clang-tidy -p $(BUILD) -quiet 'src/|tests/|soak/|bench/'
