#!/usr/bin/env bash
# scripts/deps.sh [demo|test]: installs the Debian packages that the demo needs
# (building the library and the kvavtr program), or, by default, everything that
# the tests, benchmarks, fuzzers and the Windows cross build need as well.
set -euo pipefail
demo=(
  build-essential cmake pkg-config
  libcurl4-openssl-dev libpng-dev libgif-dev
)
test=(
  "${demo[@]}" ccache
  libgtest-dev libgmock-dev libbenchmark-dev libstb-dev
  python3 python3-pil
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
)
case "${1:-test}" in
  demo) packages=("${demo[@]}") ;;
  test) packages=("${test[@]}") ;;
  *) echo "usage: scripts/deps.sh [demo|test]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
