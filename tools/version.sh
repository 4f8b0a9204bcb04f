#!/usr/bin/env bash
# Prints the library's version, which CMakeLists.txt's project() holds.
sed -n 's/^project(VelDialogs VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt"
