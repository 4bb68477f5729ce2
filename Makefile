# WAVORA top-level commands: make run, make test, make test-sanitize, make fuzz, make bench.
BUILD    ?= build
BUILD_SAN ?= build-sanitize
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS     ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-sanitize test-sanitize-core fuzz bench pictures format clean

all: build

deps:
	@tools/install-deps.sh

# Line tables (-g1) are enough for backtraces and build a good part faster than full debug
# information; configure with CMAKE_FLAGS=-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g -DNDEBUG" to debug.
$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWAVORA_WERROR=ON \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/src/app/wavora ]; then \
	  if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then xvfb-run -a $(BUILD)/src/app/wavora; \
	  else $(BUILD)/src/app/wavora; fi; \
	else $(BUILD)/src/batch/wavora-batch --help; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

# -O1: the sanitizers find the same faults, and the DSP and window tests run several times faster
# than unoptimised.
# SANITIZE_TARGETS limits the build to some test programs (default: all); the tests of programs
# not built are left out.
SANITIZE_TARGETS ?= all
# clang (make deps installs it) builds the instrumented code about twice as fast as g++.
SAN_CXX ?= $(shell command -v clang++ 2> /dev/null || echo c++)
test-sanitize: deps
	cmake -S . -B $(BUILD_SAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" \
	  -DCMAKE_CXX_COMPILER=$(SAN_CXX) -DWAVORA_SANITIZE=ON -DWAVORA_BENCH=OFF
	cmake --build $(BUILD_SAN) -j $(JOBS) --target $(SANITIZE_TARGETS)
	cd $(BUILD_SAN) && ctest --output-on-failure -j $(JOBS) --timeout 900 -E '_NOT_BUILT$$'

# The sanitizer run of CI: the core, drawing and batch tests, where the files are parsed and the
# numbers computed; the window tests run in the plain suite (all of them: make test-sanitize).
test-sanitize-core:
	$(MAKE) test-sanitize SANITIZE_TARGETS="test_record test_scales test_formats test_analysis test_draw test_batch"

# Pictures of every window, to look at: make pictures [PICTURES=folder]
PICTURES ?= $(BUILD)/pictures
pictures: build
	$(BUILD)/tools/pictures/wavora-pictures $(PICTURES)

# Every reader's libFuzzer target, built with clang and run for FUZZ_SECONDS each.
fuzz: deps
	cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DWAVORA_FUZZ=ON
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	tools/run-fuzz.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

bench: build
	/usr/bin/python3 bench/compare.py --build $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_FUZZ)
