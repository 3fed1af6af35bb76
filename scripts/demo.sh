#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job on the built-in sample art:
# a loopback image server holds the sample parts, and kvavtr renders avatars whose
# parts it downloads into a fresh portal home.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
TARGETS="kvavtr_cli kvavtr_sample_art" scripts/build.sh build
root=$PWD
kv=$root/build/kvavtr
out=$root/demo-out
rm -rf "$out" && mkdir -p "$out"

echo "== identifiers"
"$kv" id LCM001_HCM001_FNM001A_PNM001
"$kv" id --com LCF001_HCF001_FNF001A_PNF001
"$kv" convert NNN0121001001N010000000000

echo "== sample art"
"$root/build/kvavtr_sample_art" "$out/art" >/dev/null
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$out/art/server" >"$out/server.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done

home=$out/home
mkdir -p "$home"
# The default avatars' images come from common/images below the current folder.
cd "$out/art"
render() { "$kv" render --home "$home" --server "127.0.0.1:$port" "$@"; }

echo "== a layered avatar, downloaded part by part"
render --full-height --out "$out/boy.png" lcm001_hcm001_fnm001a_pnm001
echo "== the same avatar again: its parts come from the cache now, drawn at once"
render --block --full-height --out "$out/boy-cached.png" lcm001_hcm001_fnm001a_pnm001
echo "== another avatar, animated: four frames 700 ms apart"
render --full-height --frames 4 --interval 700 --out "$out/girl.png" lcf001_hcf001_fnf001a_pnf001
echo "== a whole-avatar (com) image, small"
render --com --small --full-height --out "$out/com-small.png" SAMPLE_GIRL
echo "== a com avatar whose image is missing: the female stand-in"
render --com --full-height --sex F --wait 500 --out "$out/stand-in.png" NO_SUCH_PLAYER
echo "== whole surface on pure blue, transparent over a grey canvas"
render --no-box --full-height --bg 0xFF0000 --trans --canvas 0x808080 --out "$out/trans.png" \
  lcm001_hcm001_fnm001a_pnm001

echo "== pictures in $out:"
ls "$out"/*.png
