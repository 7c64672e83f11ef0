#!/bin/sh
# Installs the Debian packages the build, the program and the tests need.
# Does nothing when everything is already there; uses sudo when not root.
set -eu

PACKAGES="
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev ffmpeg libebur128-dev
  portaudio19-dev libjack-jackd2-dev jackd2 libasound2-plugins
  libboost-dev
  librtmidi-dev liblo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth x11-utils x11-xkb-utils xdotool imagemagick libx11-dev
  fuse3 python3-fuse
  scdoc lintian appstream desktop-file-utils
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
# jackd2 asks about realtime priority; noninteractive answers no.
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
