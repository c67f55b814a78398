# make run   - install what is missing, build, and start the program
# make test  - install what is missing, build, and run every test
PRESET ?= default
BUILD  := build/$(PRESET)
CTEST_ARGS ?=

.PHONY: all deps build run test asan bench format clean

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

test: build
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

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
