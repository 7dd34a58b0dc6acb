#!/usr/bin/env bash
# Installs the Debian packages the build, the game, the tests and the packaging need (dpkg-dev and
# file for the .deb's Depends, the two validators for the desktop files, groff and lintian for the
# manual page and the packages); quick when all are present.
set -euo pipefail
packages=(cmake g++ make pkg-config
  libglfw3-dev libglew-dev libglm-dev libassimp-dev libstb-dev libinih-dev libbullet-dev
  libgtest-dev libgmock-dev libgl1-mesa-dri
  xvfb xauth xdotool x11-utils imagemagick openbox wmctrl
  dpkg-dev file desktop-file-utils appstream groff-base lintian)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo_cmd=""
if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
$sudo_cmd apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
