# Quick start: `make demo` and `make test`. Each installs what is missing
# (as root), builds, and runs. BUILD names the build folder; the 32-bit and
# 64-bit cross builds land in $(BUILD)/win32 and $(BUILD)/win64, and the Wine
# lanes that run are those this machine can run (tools/lanes.sh, VEL_LANES).
BUILD ?= build
WIN32 := $(BUILD)/win32
WIN64 := $(BUILD)/win64
NAT   := $(BUILD)/native
FUZ   := $(BUILD)/fuzz
FUZZ_SECONDS ?= 60

.PHONY: all deps build test demo fuzz bench dist docs clean

all: build

deps:
	@tools/deps.sh

build: deps
	cmake -S . -B $(WIN32) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
	cmake --build $(WIN32)
	cmake -S . -B $(WIN64) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
	cmake --build $(WIN64)
	cmake -S . -B $(FUZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEL_FUZZ=ON \
	      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZ)
	cmake -S . -B $(NAT) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DWIN32_BUILD_DIR=$(abspath $(WIN32)) -DWIN64_BUILD_DIR=$(abspath $(WIN64)) \
	      -DFUZZ_BUILD_DIR=$(abspath $(FUZ))
	cmake --build $(NAT)

test: build
	tools/with-wine.sh $(BUILD) tools/run-tests.sh $(NAT)

demo: build
	tools/with-wine.sh $(BUILD) tools/demo.sh $(BUILD)

# Figures for engineering/figures.md, written to bench/RESULTS.md, one table per lane.
bench: build
	tools/with-wine.sh $(BUILD) tools/bench.sh $(BUILD) bench/RESULTS.md

# The release package VelDialogs-<version>.zip, in $(BUILD)/dist.
dist: build
	tools/dist.sh $(WIN32) $(WIN64) $(BUILD)/dist

# The pictures in docs/images, retaken by the autopilot in the first lane that
# runs, then the check that the pages quote what the DLL registers and writes
# (make test runs the check in every lane).
docs: build
	tools/with-wine.sh $(BUILD) tools/docs.sh $(BUILD)

# Each fuzz target for FUZZ_SECONDS (default 60).
fuzz: build
	@for t in $(FUZ)/*_fuzz; do \
	  n=$$(basename $$t _fuzz); \
	  tools/fuzz-run.sh $$t tests/fuzz/seeds/$$n $(NAT)/fuzz-corpus/$$n $(FUZZ_SECONDS) || exit 1; \
	done

clean:
	rm -rf $(BUILD)
