#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job on the built-in sample art.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
kv=build/kvavtr
echo "== kvavtr id LCM001_HCM001_FNM001A_PNM001"
"$kv" id LCM001_HCM001_FNM001A_PNM001
echo "== kvavtr id --com LCF001_HCF001_FNF001A_PNF001"
"$kv" id --com LCF001_HCF001_FNF001A_PNF001
echo "== kvavtr convert NNN0121001001N010000000000"
"$kv" convert NNN0121001001N010000000000
