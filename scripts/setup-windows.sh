#!/usr/bin/env bash
# Installs the MinGW-w64 cross-compiler, Wine and Xvfb, and builds the
# libraries the Windows build needs that Debian does not ship for MinGW
# (Coin3D 4.0.0 from Debian's source package). Built libraries are cached
# outside the work tree, keyed by version, under ${KAVREL_CACHE:-~/.cache/kavrel};
# a stamp file marks a finished build, so a second run does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo

packages=(
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools  # cross-compiler, windres, objdump
  wine wine64                     # runs the Windows programs and tests
  xvfb imagemagick x11-utils      # display for the dialogs; `import` takes screenshots
  libboost-dev                    # headers Coin3D's build looks for
  libz-mingw-w64-dev              # zlib for MinGW: the plug-in reads gzip-compressed scenes
  dpkg-dev                        # apt-get source
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# apt-get source needs a deb-src entry for the suite the deb entry names.
srclist=/etc/apt/sources.list.d/kavrel-deb-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  sed -n '/^Types: deb$/,/^$/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null \
    | sed 's/^Types: deb$/Types: deb-src/' | $SUDO tee "$srclist" >/dev/null
  need_update=1
fi
if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  $SUDO apt-get update
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup-windows: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

scripts/build-mingw-libraries.sh "$@"
