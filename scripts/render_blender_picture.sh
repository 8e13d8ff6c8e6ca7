#!/usr/bin/env bash
# render_blender_picture.sh: imports buildings/windmill.iv of inventor-data
# with the Blender add-on and renders it with Workbench into
# docs/blender_import.png, the README's Blender picture (Blender under a
# virtual X server, with a temporary profile; both installed when missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
missing=()
command -v blender >/dev/null || missing+=(blender)
dpkg-query -W -f='${Status}' python3-numpy 2>/dev/null | grep -q "install ok installed" || missing+=(python3-numpy)
command -v xvfb-run >/dev/null || missing+=(xvfb xauth)
[ -d /usr/share/inventor/data/models ] || missing+=(inventor-data)
"$root/scripts/apt_install.sh" "${missing[@]}"
(cd "$root" && scripts/build.sh build >/dev/null)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$root/docs"
HOME=$work BLENDER_USER_CONFIG=$work/config BLENDER_USER_SCRIPTS=$work/scripts XDG_CONFIG_HOME=$work/xdg \
  xvfb-run -a -s "-screen 0 1280x1024x24" \
  blender -b --factory-startup --python-exit-code 1 -P "$root/scripts/blender_picture.py" -- \
    "$root/build/blender/io_import_inventor.zip" "$root/build/kavrel/cli/kavrel-convert" \
    /usr/share/inventor/data/models/buildings/windmill.iv "$root/docs/blender_import.png" >/dev/null
echo "wrote docs/blender_import.png"
