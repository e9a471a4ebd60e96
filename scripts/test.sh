#!/usr/bin/env bash
# Installs what the program and its tests need, builds and runs the whole
# suite: unit, widget and end-to-end tests with warnings as errors, then the
# unit and widget tests and short fuzz runs again under AddressSanitizer and
# UBSan (clang).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

# Both builds compile each folder's files together (unity builds): the
# headers are parsed once a batch, which halves the build time. Builds by
# hand stay file by file, so a missing include still shows there.
echo "== build (g++, warnings are errors)"
configure_build "$ROOT/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINCTARA_WERROR=ON -DCMAKE_UNITY_BUILD=ON
cmake --build "$ROOT/build-test" -j2
echo "== tests"
# The end-to-end tests spend most of their time waiting on a display, so
# more of them run at once than there are cores.
ctest --test-dir "$ROOT/build-test" --output-on-failure -j4

# Optimised: the sanitized tests and fuzz runs take less than half the time
# they take unoptimised, for the same build time.
echo "== build (clang, address and undefined-behaviour sanitizers)"
CC=clang-14 CXX=clang++-14 configure_build "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTINCTARA_WERROR=ON -DTINCTARA_SANITIZE=ON -DTINCTARA_E2E=OFF -DTINCTARA_BENCH=OFF -DCMAKE_UNITY_BUILD=ON
cmake --build "$ROOT/build-asan" -j2
echo "== tests under sanitizers"
ctest --test-dir "$ROOT/build-asan" --output-on-failure -j2
