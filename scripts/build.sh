#!/usr/bin/env bash
# scripts/build.sh DIR [cmake options...]: configures and builds into DIR
# (only the targets named in $TARGETS, when set).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
launcher=()
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVAVTR_WERROR=ON "${launcher[@]}" "$@" >/dev/null
targets=()
for t in ${TARGETS:-}; do
  targets+=(--target "$t")
done
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
