# Sourced by the Blender test runners: a headless Blender whose home,
# profile, stored options and temporary folder are a fresh temporary
# directory, $work (removed on exit), so the user's own are never touched.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/tmp"
export HOME="$work/home" BLENDER_USER_CONFIG="$work/home/config" BLENDER_USER_SCRIPTS="$work/home/scripts"
export XDG_CONFIG_HOME="$work/home/xdg" TMPDIR="$work/tmp"

# run_blender BLENDER SCRIPT [ARGS...]: SCRIPT in a factory-startup Blender
# without a window, ARGS after "--"; an exception in it fails the run.
run_blender() {
  local blender=$1 script=$2
  shift 2
  "$blender" -b --factory-startup --python-exit-code 1 -P "$script" -- "$@"
}
