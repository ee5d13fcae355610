#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the benchmarks
# need (gdb: a test whose program hangs prints that program's stacks).
# Idempotent: only missing packages are installed, and the package lists are
# refreshed only when something must be installed.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libsqlite3-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libx11-dev libxext-dev libpng-dev libgif-dev libjpeg-dev
  qt6-image-formats-plugins clang
  libgtest-dev libgmock-dev libbenchmark-dev libcairo2-dev
  xvfb x11-utils xdotool imagemagick qt6-wayland weston
  libpulse-dev libfftw3-dev libsystemd-dev pulseaudio dbus-daemon
  dpkg-dev shared-mime-info desktop-file-utils xdg-utils
  gdb
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
