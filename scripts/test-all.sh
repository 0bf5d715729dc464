#!/bin/bash
# Every test: installs what is missing, builds both presets, runs the host
# tests natively and the win32 tests under Wine.  Ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh

cmake --preset host
cmake --build --preset host
ctest --preset host

cmake --preset win32
cmake --build --preset win32
ctest --preset win32
