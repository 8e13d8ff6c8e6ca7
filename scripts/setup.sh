#!/usr/bin/env bash
# Installs what the build, the tests and the converter need. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config git   # compiler and build
  libgtest-dev googletest                # unit tests
  libcoin-dev                            # Coin3D: reads Inventor and VRML 1.0
  libtiff-dev                            # TIFF output driver, reads TIFF textures
  zlib1g-dev                             # gzip-compressed input; FBX's compressed arrays
  libsimage-dev                          # reads texture images (SGI, PNG, JPEG, GIF, TGA)
  libstb-dev                             # PNG writing for glTF textures
  nlohmann-json3-dev                     # JSON (scene dump, glTF)
  libcli11-dev                           # command-line parsing of kavrel-convert
  libassimp-dev                          # PLY, STL and COLLADA export; reading outputs back in tests
  lib3mf-dev                             # 3MF export, and reading it back in tests
  prusa-slicer                           # the real-client test reads our 3MF with a slicer
  inventor-data                          # real Inventor files for the end-to-end corpus
  tmux                                   # drives the terminal front end in tests
  ccache                                 # compiler cache shared by builds and clones
  help2man                               # the man page of kavrel-convert, from its --help
  valgrind                               # the leak check of whole conversions
  clang libclang-rt-14-dev llvm          # the fuzzers (libFuzzer) and their stack traces
  locales                                # de_DE.UTF-8: the preferences file in a comma-decimal locale
  blender python3-numpy                  # the add-on's, the FBX and the real-client tests (Blender's glTF importer needs numpy)
  xvfb xauth libgl1-mesa-dri             # the fidelity suite: a virtual X server, Mesa's GL
  libgl-dev libx11-dev                   # the fidelity renderer's window and GL context
  f3d                                    # the fidelity suite renders our .glb with it
)
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js runs the Khronos glTF validator in tests; machines that ship their
# own Node.js keep it.
command -v node >/dev/null && command -v npm >/dev/null || missing+=(nodejs npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi

# The preferences tests write and read the file with the process in a
# locale whose decimal mark is a comma.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then
  echo "setup: generating the locale de_DE.UTF-8"
  grep -qx 'de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

if [ ! -d tools/gltf_validator/node_modules/gltf-validator ]; then
  echo "setup: installing the glTF validator"
  (cd tools/gltf_validator && npm install --no-audit --no-fund --loglevel=error)
fi
