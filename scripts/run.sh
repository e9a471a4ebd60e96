#!/usr/bin/env bash
# Installs what is missing, builds Tinctara and opens it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages
configure_build "$ROOT/build" -DCMAKE_BUILD_TYPE=Release -DTINCTARA_TESTS=OFF -DTINCTARA_BENCH=OFF
cmake --build "$ROOT/build" -j2 --target tinctara
exec "$ROOT/build/tinctara"
