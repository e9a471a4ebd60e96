#!/usr/bin/env bash
# Installs what building and running need, builds Tinctara and opens it, in
# a folder of its own: its Release settings without tests would otherwise
# replace those of a developer's build/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${RUN_PACKAGES[@]}"
configure_build "$ROOT/build-run" -DCMAKE_BUILD_TYPE=Release -DTINCTARA_TESTS=OFF -DTINCTARA_BENCH=OFF
cmake --build "$ROOT/build-run" -j2 --target tinctara
exec "$ROOT/build-run/tinctara"
