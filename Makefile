# Quick start: `make demo` and `make test`. Each installs what is missing
# (as root), builds, and runs. BUILD names the build folder.
BUILD ?= build
WIN   := $(BUILD)/win32
NAT   := $(BUILD)/native
FUZ   := $(BUILD)/fuzz
ABS_WIN := $(abspath $(WIN))
ABS_FUZ := $(abspath $(FUZ))
FUZZ_SECONDS ?= 60

.PHONY: all deps build test demo fuzz bench dist docs clean

all: build

deps:
	@tools/deps.sh

build: deps
	cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
	cmake --build $(WIN)
	cmake -S . -B $(FUZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEL_FUZZ=ON \
	      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZ)
	cmake -S . -B $(NAT) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DWIN32_BUILD_DIR=$(ABS_WIN) -DFUZZ_BUILD_DIR=$(ABS_FUZ)
	cmake --build $(NAT)

test: build
	tools/with-wine.sh $(BUILD) ctest --test-dir $(NAT) --output-on-failure

demo: build
	tools/with-wine.sh $(BUILD) tools/demo.sh $(WIN)

# Figures for the README, written to bench/RESULTS.md.
bench: build
	tools/with-wine.sh $(BUILD) tools/bench.sh $(WIN) bench/RESULTS.md

# The release package VelDialogs-<version>.zip, in $(BUILD)/dist.
dist: build
	tools/dist.sh $(WIN) $(BUILD)/dist

# The pictures in docs/images, retaken by the autopilot, then the check that
# the pages quote what the DLL registers and writes (make test runs the check).
docs: build
	tools/with-wine.sh $(BUILD) sh -c 'tests/docs/make-shots.sh $(WIN) && tests/docs/check-docs.sh $(WIN)'

# Each fuzz target for FUZZ_SECONDS (default 60).
fuzz: build
	@for t in $(FUZ)/*_fuzz; do \
	  n=$$(basename $$t _fuzz); \
	  tools/fuzz-run.sh $$t tests/fuzz/seeds/$$n $(NAT)/fuzz-corpus/$$n $(FUZZ_SECONDS) || exit 1; \
	done

clean:
	rm -rf $(BUILD)
