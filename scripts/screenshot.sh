#!/usr/bin/env bash
# Installs what is missing, builds Tinctara and takes the README's picture of
# its window (docs/tinctara.png) in a private X server.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages
configure_build "$ROOT/build" -DCMAKE_BUILD_TYPE=Release -DTINCTARA_TESTS=OFF -DTINCTARA_BENCH=OFF
cmake --build "$ROOT/build" -j2 --target tinctara
PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$ROOT/tests/e2e/readme_screenshot.py" \
  --app "$ROOT/build/tinctara" --shots "$ROOT/docs"
