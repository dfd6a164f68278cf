#!/usr/bin/env bash
# Takes the documentation's pictures of the program's windows under a virtual X display:
# docs/screenshots/main.png (Mission, TX on 21 June 2007), details.png, about.png, tzhelp.png,
# year.png (Chicago, 2007) and map.png (the world at 19:00 in Chicago that day).
#
#     bash tools/screenshot.sh BUILD_DIR
#
# BUILD_DIR is a configured build tree; the screenshot program and the state archives are
# built in it first. To look at the windows in other settings without touching the
# documentation's pictures, name another folder, a scale and a scheme:
#
#     SHOTS=/tmp/shots SCALE=2 SCHEME=dark bash tools/screenshot.sh build/dev
set -euo pipefail

build_dir=${1:?usage: tools/screenshot.sh BUILD_DIR}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${SHOTS:-$root/docs/screenshots}

cmake --build "$build_dir" --target daybreak_screenshot daybreak_archives
mkdir -p "$out"

# A fixed environment: US English dates, the same style and font size on every machine.
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 TZ=UTC
export QT_QPA_PLATFORM=xcb QT_STYLE_OVERRIDE=Fusion QT_SCALE_FACTOR=${SCALE:-1}
unset QT_QPA_PLATFORMTHEME || true

scheme=()
[[ "${SCHEME:-light}" == dark ]] && scheme=(dark)
xvfb-run --auto-servernum --server-args="-screen 0 ${SCREEN:-1280x1024}x24 -dpi 96" \
  "$build_dir/bin/daybreak_screenshot" "$out" "${scheme[@]}"
