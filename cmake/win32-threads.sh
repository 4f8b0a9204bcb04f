#!/bin/sh
# Compiler and linker launcher for the DLL: runs the win32-thread flavour of
# the MinGW-w64 compiler that CMake names (...-g++-posix becomes
# ...-g++-win32) with the same arguments. The library starts no thread, and
# this flavour's runtime needs no winpthread, which the posix one links in.
compiler=$1
shift
exec "${compiler%-posix}-win32" "$@"
