#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the screenshots need, and only those
# that are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake g++ ninja-build make pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-pdf-dev libqt6opengl6-dev libgl-dev
  libcctz-dev libical-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth imagemagick
  desktop-file-utils appstream dpkg-dev file tzdata lintian devscripts zsh locales python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# US English, the screenshots' fixed locale, and German (decimal comma), for the tests that
# check that files do not follow the locale.
for name in en_US de_DE; do
  if ! locale -a 2>/dev/null | grep -qix "${name}\.utf-\?8"; then
    echo "Generating the ${name}.UTF-8 locale"
    "${sudo_cmd[@]}" localedef -i "$name" -f UTF-8 "${name}.UTF-8"
  fi
done
