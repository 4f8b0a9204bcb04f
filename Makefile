# Quick start: `make demo` and `make test`. Each installs what is missing
# (as root), builds, and runs. BUILD names the build folder.
BUILD ?= build
WIN   := $(BUILD)/win32
NAT   := $(BUILD)/native
ABS_WIN := $(abspath $(WIN))

.PHONY: all deps build test demo clean

all: build

deps:
	@tools/deps.sh

build: deps
	cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
	cmake --build $(WIN)
	cmake -S . -B $(NAT) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWIN32_BUILD_DIR=$(ABS_WIN)
	cmake --build $(NAT)

test: build
	tools/with-wine.sh $(BUILD) ctest --test-dir $(NAT) --output-on-failure

demo: build
	tools/with-wine.sh $(BUILD) tools/demo.sh $(WIN)

clean:
	rm -rf $(BUILD)
