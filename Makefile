# make run   - install what is missing, build, and start the program
# make test  - install what is missing, build, and run every test
# make package - build the portable archive (build/default/package/Zintrova-*.tar.gz)
# make deb   - build the Debian package (build/deb/package/zintrova_*.deb)
# make fuzz  - build the fuzz target with clang and run it for FUZZ_SECONDS
PRESET ?= default
BUILD  := build/$(PRESET)
CTEST_ARGS ?=

.PHONY: all deps build run test asan bench fuzz format clean package deb artwork

all: build

deps:
	@scripts/install-deps.sh build

$(BUILD)/build.ninja: | deps
	cmake --preset $(PRESET)

build: deps $(BUILD)/build.ninja
	cmake --build --preset $(PRESET)

run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$QT_QPA_PLATFORM" ]; then \
	  echo "No display: starting on the offscreen platform, where nothing is visible."; \
	  echo "To see the window: xvfb-run -a $(BUILD)/zintrova"; \
	  QT_QPA_PLATFORM=offscreen $(BUILD)/zintrova; \
	else $(BUILD)/zintrova; fi

# The display test runs the program on a private X server, with the tools of the group `test`.
test: build
	@scripts/install-deps.sh build test
	ctest --preset $(PRESET) $(CTEST_ARGS)

# The whole suite in a debug build under AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	$(MAKE) test PRESET=asan

bench:
	@scripts/install-deps.sh build bench
	cmake --preset bench
	cmake --build --preset bench
	build/bench/bench/zintrova_bench
	build/bench/bench/zintrova_batch_bench

# The portable archive: a folder with the program at its top (its settings file lives beside it).
package: build
	cpack --config $(BUILD)/CPackConfig.cmake -B $(BUILD)/package

# The Debian package: the program in /usr/bin, its settings in each user's own copy of the file.
# Its dependencies are computed from the program by dpkg-shlibdeps (package dpkg-dev).
# Every time stamp in it (file and archive times, those of Qt's resource table) is the last
# commit's, unless SOURCE_DATE_EPOCH is set: two checkouts of one commit give the same bytes.
# CMake creates the package's folders under the caller's umask, so it packs under one of its own.
deb: export SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
deb:
	@scripts/install-deps.sh build deb
	cmake --preset deb
	cmake --build --preset deb
	cd build/deb && umask 022 && cpack -B package

# Redraws the icons, logo and cursor in resources/ (commit the script and its output together).
artwork:
	python3 resources/make_artwork.py

# The settings record reader under libFuzzer. New inputs go to build/fuzz/corpus; the committed
# seeds in fuzz/corpus are only read.
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps.sh build fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz
	@mkdir -p build/fuzz/corpus
	build/fuzz/fuzz/record_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=8192 \
	  -print_final_stats=1 build/fuzz/corpus fuzz/corpus

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
