#!/usr/bin/env bash
# scripts/build.sh DIR [cmake options...]: configures and builds into DIR
# (only the targets named in $TARGETS, when set).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
for t in ${TARGETS:-}; do
  targets+=(--target "$t")
done
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
