#!/bin/bash
# Installs every Debian package the project needs on a fresh Debian 12 machine.
# Idempotent: a second run installs nothing and returns quickly.
set -euo pipefail

PACKAGES=(
  cmake ninja-build make python3 python3-pil xz-utils
  g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  googletest lzma-dev liblzma-dev
  wine wine32:i386 xvfb xauth xdotool x11-utils imagemagick
  fonts-wqy-zenhei optipng procps
)

missing=()
for p in "${PACKAGES[@]}"; do
  name=${p%%:*}; arch=${p#*:}; [ "$arch" = "$p" ] && arch=""
  q=$name; [ -n "$arch" ] && q="$name:$arch"
  if ! dpkg-query -W -f='${Status}' "$q" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
