# Sourced by the scripts that run a headless Blender for the tests: a fresh
# temporary directory ($work) becomes its home, profile, stored options and
# temporary folder, so the user's own are never touched; it is removed
# when the script exits.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/tmp"
export HOME="$work/home" BLENDER_USER_CONFIG="$work/home/config" BLENDER_USER_SCRIPTS="$work/home/scripts"
export XDG_CONFIG_HOME="$work/home/xdg" TMPDIR="$work/tmp"
