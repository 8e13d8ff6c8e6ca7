#!/usr/bin/env bash
# run_fidelity.sh [--build DIR] [--out DIR] [--models DIR] [--pictures DIR] [--jobs N] [--gate shares|listed]
#
# Does what we write look like the original? Every model of the corpus
# (default: the inventor-data models, .iv and .wrl, recursively) is rendered
# by Coin3D (fidelity-render) from two views. kavrel-convert's .glb of it is
# rendered by f3d from exactly the camera Coin3D used, and compared by its
# silhouette; when kavrel-convert writes VRML97 (-o x.wrl), the .wrl is
# rendered by Coin3D from the same camera and compared by silhouette and
# colour. fidelity-report judges the figures against the thresholds, with
# the models listed in exceptions.txt reported apart (they still count),
# and writes OUT/report.txt, OUT/results.tsv and OUT/contact_sheet.png
# (default OUT: BUILD/fidelity). Exit status 1 when a threshold is missed;
# with --gate listed, when a model below the thresholds is not listed in
# exceptions.txt (what the test suite runs while a share is out of reach).
#
# Runs itself under its own virtual X server with Mesa's software renderer,
# so that the pictures do not depend on the machine's display or GPU.
set -uo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$source_dir/build out="" models=/usr/share/inventor/data/models pictures="" jobs=$(nproc) gate=shares
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --models) models=$2; shift 2 ;;
    --pictures) pictures=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --gate) gate=$2; shift 2 ;;
    -h|--help) sed -n '2,/^$/s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "run_fidelity: unknown argument '$1' (see --help)" >&2; exit 2 ;;
  esac
done
build=$(cd "$build" && pwd) || exit 2
[ -d "$models" ] && models=$(cd "$models" && pwd)
out=${out:-$build/fidelity}
convert=$build/kavrel/cli/kavrel-convert
tools=$build/tools/fidelity
size=256 key=255,0,255 key_f3d=1,0,1
views=(front above-front-left)

fail_setup() { echo "run_fidelity: $*" >&2; exit 2; }
for program in "$convert" "$tools/fidelity-render" "$tools/fidelity-compare" "$tools/fidelity-report"; do
  [ -x "$program" ] || fail_setup "$program is not built (scripts/build.sh build)"
done
command -v f3d >/dev/null || fail_setup "f3d is not installed (scripts/setup.sh)"
command -v xvfb-run >/dev/null || fail_setup "xvfb-run is not installed (scripts/setup.sh)"
[ -d "$models" ] || fail_setup "no model directory $models (the inventor-data package)"

if [ -z "${KAVREL_FIDELITY_XVFB:-}" ]; then
  export KAVREL_FIDELITY_XVFB=1 LIBGL_ALWAYS_SOFTWARE=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --build "$build" --out "$out" --models "$models" \
    ${pictures:+--pictures "$pictures"} --jobs "$jobs" --gate "$gate"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pictures=${pictures:-$work/pictures}
mkdir -p "$out" "$pictures" || fail_setup "cannot make $out or $pictures"
pictures=$(cd "$pictures" && pwd)
# kavrel-convert with its default options, whatever the developer stored.
export XDG_CONFIG_HOME=$work/config
started=$SECONDS
stage_times=""
stage_done() { stage_times+="${stage_times:+, }$1 $((SECONDS - stage_start)) s"; stage_start=$SECONDS; }
stage_start=$SECONDS

mapfile -t corpus < <(cd "$models" && find -L . -type f \( -iname '*.iv' -o -iname '*.wrl' \) |
                      sed 's|^\./||' | LC_ALL=C sort)
[ ${#corpus[@]} -gt 0 ] || fail_setup "no .iv or .wrl file below $models"

# Conversions: one batch per format, its outputs mirroring the corpus tree.
convert_batch() {  # FORMAT
  "$convert" -q -j "$jobs" --output-dir "$work/$1" --format "$1" "$models" >"$work/$1.log" 2>&1
}
# Why FORMAT's conversion of MODEL left no file, from the batch's own line.
conversion_failure() {  # FORMAT MODEL
  local line
  line=$(grep -E '^(failed|unsupported) ' "$work/$1.log" | grep -F -m1 "$models/$2:")
  echo "kavrel-convert: ${line:-wrote no file}"
}
convert_batch glb
# VRML97 output is compared as soon as kavrel-convert writes it.
wrl=0
probe_model=$models/${corpus[0]}
if "$convert" -q -o "$work/probe.wrl" "$probe_model" >"$work/probe.log" 2>&1 &&
   head -c 15 "$work/probe.wrl" 2>/dev/null | grep -q '^#VRML V2.0 utf8'; then
  wrl=1
  convert_batch wrl
  wrl_note=".wrl: VRML97 written by kavrel-convert, rendered by Coin3D from the original's camera"
else
  wrl_note=".wrl: not compared: kavrel-convert does not write VRML97 ($(grep -m1 . "$work/probe.log"))"
fi
stage_done conversion

# Pictures are named PICTURES/MODEL-WITHOUT-EXTENSION/VIEW.KIND.png, where
# KIND is original, a format, or a format's difference (glb.diff); a
# format's conversion of MODEL is WORK/FORMAT/MODEL-WITHOUT-EXTENSION.FORMAT.
# Coin3D's pictures: each job renders the original and, from its camera, our .wrl.
: >"$work/jobs.txt"
for model in "${corpus[@]}"; do
  mkdir -p "$pictures/${model%.*}"
  for view in "${views[@]}"; do
    base=$pictures/${model%.*}/$view
    line="$view"$'\t'"$models/$model"$'\t'"$base.original.png"
    if [ $wrl = 1 ] && [ -f "$work/wrl/${model%.*}.wrl" ]; then
      line+=$'\t'"$work/wrl/${model%.*}.wrl"$'\t'"$base.wrl.png"
    fi
    echo "$line" >>"$work/jobs.txt"
  done
done
# A crash or hang inside Coin3D ends the renderer: the job it was on is
# reported as failed and the rest run in a new renderer.
cp "$work/jobs.txt" "$work/pending.txt"
: >"$work/rendered.txt"
while [ -s "$work/pending.txt" ]; do
  timeout 900 "$tools/fidelity-render" --size $size --background $key --jobs "$work/pending.txt" \
    >>"$work/rendered.txt" 2>>"$work/render.log"
  status=$?
  [ $status -le 1 ] && break
  awk -F'\t' -v status=$status -v rendered="$work/rendered.txt" -v rest="$work/rest.txt" '
    NR == FNR { if ($1 == "camera" || $1 == "rendered" || $1 == "failed") done[$2] = 1; next }
    crashed { print > rest; next }
    { for (i = 3; i <= NF; i += 2) if (!($i in done)) {
        crashed = 1; print "failed\t" $i "\tthe renderer ended with status " status " on this file" >> rendered } }
  ' "$work/rendered.txt" "$work/pending.txt"
  touch "$work/rest.txt"
  mv "$work/rest.txt" "$work/pending.txt"
done
[ -s "$work/rendered.txt" ] || fail_setup "the renderer rendered nothing: $(head -c 2000 "$work/render.log")"
stage_done "Coin3D rendering"

# f3d's pictures of our .glb, from the camera of Coin3D's picture. f3d
# sometimes ends without a picture on a loaded machine: two more tries
# (the test suite fails on a model without its picture), then
# its status and last words stay in PNG.log for the report.
render_glb() {  # GLB PNG POSITION FOCAL UP ANGLE, tab-separated in one argument
  local glb png position focal up angle try status
  IFS=$'\t' read -r glb png position focal up angle <<<"$1"
  for try in 1 2 3; do
    timeout 300 f3d --dry-run --quiet --output="$png" --resolution=$size,$size --bg-color=$key_f3d \
      --camera-position="$position" --camera-focal-point="$focal" --camera-view-up="$up" \
      --camera-view-angle="$angle" "$glb" >"$png.log" 2>&1
    status=$?
    if [ $status -eq 0 ] && [ -s "$png" ]; then rm -f "$png.log"; return 0; fi
  done
  echo "f3d ended with status $status: $(tail -n 1 "$png.log")" >"$png.log"
}
export -f render_glb
export size key_f3d
: >"$work/glbs.txt"
for model in "${corpus[@]}"; do
  for view in "${views[@]}"; do
    base=$pictures/${model%.*}/$view glb=$work/glb/${model%.*}.glb
    [ -f "$glb" ] && echo "$base.original.png"$'\t'"$glb"$'\t'"$base.glb.png" >>"$work/glbs.txt"
  done
done
# GLB<TAB>PNG<TAB>camera for each original that has a camera line.
awk -F'\t' -v OFS='\t' 'NR == FNR { if ($1 == "camera") camera[$2] = $3 OFS $4 OFS $5 OFS $6; next }
  $1 in camera { print $2, $3, camera[$1] }' "$work/rendered.txt" "$work/glbs.txt" >"$work/f3d_jobs.txt"
xargs -d '\n' -P "$jobs" -n 1 bash -c 'render_glb "$1"' _ <"$work/f3d_jobs.txt"
stage_done "f3d rendering"

# The measurements: one line per model, view and format.
: >"$work/pairs.txt"
: >"$work/meta.txt"
: >"$work/results.tsv"
rendering_failure() {  # PNG: the renderer's reason, if it gave one
  awk -F'\t' -v png="$1" '$1 == "failed" && $2 == png { print "Coin3D rendering: " $3; exit }' "$work/rendered.txt"
}
formats=(glb)
[ $wrl = 1 ] && formats+=(wrl)
for model in "${corpus[@]}"; do
  for view in "${views[@]}"; do
    base=$pictures/${model%.*}/$view original=$base.original.png
    if [ ! -s "$original" ]; then
      printf '%s\t%s\toriginal\tfailed\t%s\n' "$model" "$view" "$(rendering_failure "$original")" >>"$work/results.tsv"
      continue
    fi
    for format in "${formats[@]}"; do
      ours=$base.$format.png diff=$base.$format.diff.png
      if [ ! -f "$work/$format/${model%.*}.$format" ]; then
        reason=$(conversion_failure "$format" "$model")
      elif [ ! -s "$ours" ]; then
        reason=$([ "$format" = glb ] && cat "$ours.log" 2>/dev/null || rendering_failure "$ours")
      else
        printf '%s\t%s\t%s\n' "$original" "$ours" "$diff" >>"$work/pairs.txt"
        printf '%s\t%s\t%s\n' "$model" "$view" "$format" >>"$work/meta.txt"
        continue
      fi
      printf '%s\t%s\t%s\tfailed\t%s\t%s\n' "$model" "$view" "$format" "${reason:-no picture}" "$original" \
        >>"$work/results.tsv"
    done
  done
done
"$tools/fidelity-compare" --key $key --pairs "$work/pairs.txt" >"$work/compared.txt"
paste "$work/meta.txt" "$work/compared.txt" "$work/pairs.txt" |
  awk -F'\t' -v OFS='\t' '$4 == "failed" { print $1, $2, $3, "failed", "comparison: " $5, $6; next } { print }' \
  >>"$work/results.tsv"
stage_done comparison

f3d_version=$(f3d --version 2>/dev/null | awk '/^Version/ { sub(/\.$/, "", $2); print $2 }')
report_args=(--gate "$gate" --silhouette glb)
[ $wrl = 1 ] && report_args+=(--colour wrl)
"$tools/fidelity-report" --results "$work/results.tsv" --exceptions "$source_dir/tests/fidelity/exceptions.txt" \
  "${report_args[@]}" --report "$out/report.txt" --contact-sheet "$out/contact_sheet.png" \
  --note "Models: ${#corpus[@]} in $models; views: ${views[*]}; ${size}x$size pictures on the key colour $key" \
  --note ".glb: rendered by f3d $f3d_version from Coin3D's camera, compared by silhouette" \
  --note "$wrl_note" \
  --note "Times: $stage_times; all $((SECONDS - started)) s"
status=$?
cp "$work/results.tsv" "$out/results.tsv"
cat "$out/report.txt" 2>/dev/null
echo
echo "run_fidelity: report in $out/report.txt, contact sheet in $out/contact_sheet.png"
exit $status
