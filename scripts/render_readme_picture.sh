#!/usr/bin/env bash
# render_readme_picture.sh: converts the bundled example with kavrel-convert
# and renders the glTF it wrote into docs/showcase.png, the README's picture
# (f3d under a virtual X server; both are installed when missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
missing=()
command -v f3d >/dev/null || missing+=(f3d)
command -v xvfb-run >/dev/null || missing+=(xvfb xauth)
"$root/scripts/apt_install.sh" "${missing[@]}"
(cd "$root" && scripts/build.sh build >/dev/null)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/build/kavrel/cli/kavrel-convert" -q -o "$work/showcase.glb" "$root/examples/showcase.iv" >/dev/null
mkdir -p "$root/docs"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  f3d --output="$root/docs/showcase.png" --resolution=960,540 --up=+Y \
      --fxaa --tone-mapping --camera-azimuth-angle=30 --camera-elevation-angle=20 "$work/showcase.glb"
echo "wrote docs/showcase.png"
