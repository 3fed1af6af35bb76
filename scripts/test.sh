#!/usr/bin/env bash
# Installs what is needed, builds the Release configuration (as a host would,
# warnings as errors) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DKVAVTR_TESTS=ON
ctest --test-dir build --output-on-failure -j"$(nproc)"
