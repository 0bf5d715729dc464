#!/bin/bash
# Draws NuvraBrowser.ico: a blue disc with a white "play" triangle, at 48, 32
# and 16 pixels.  Run it again after changing the drawing and commit the .ico;
# the build uses the committed file.  Needs ImageMagick (Debian's imagemagick).
set -euo pipefail
cd "$(dirname "$0")"
CONVERT=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

$CONVERT -size 256x256 xc:none \
  \( -size 256x256 radial-gradient:'#4fc3f7'-'#0d47a1' \) \
  \( -size 256x256 xc:black -fill white -draw 'circle 128,128 128,8' \) \
  -delete 0 -alpha off -compose CopyOpacity -composite \
  -fill white -draw 'polygon 100,70 100,186 190,128' \
  "$tmp/big.png"
for size in 48 32 16; do
  $CONVERT "$tmp/big.png" -resize ${size}x${size} "$tmp/$size.png"
done
$CONVERT "$tmp/48.png" "$tmp/32.png" "$tmp/16.png" NuvraBrowser.ico
