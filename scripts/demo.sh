#!/usr/bin/env bash
# scripts/demo.sh [kvavtr demo options]: installs what the demo needs, builds the
# library and the kvavtr program, and runs `kvavtr demo` (results in demo-out/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh demo
TARGETS="kvavtr_cli" scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DKVAVTR_TESTS=OFF
build/kvavtr demo "$@"
