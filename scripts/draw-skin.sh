#!/bin/bash
# Redraws the installer's skin (res/skin/*.png) and icon (res/NuvraSetup.ico)
# from scripts/draw_skin.py, then shrinks the PNGs losslessly.
# Needs python3-pil, imagemagick, fonts-wqy-zenhei and optipng (all in
# scripts/bootstrap.sh).  The build uses the committed files and needs none
# of them.
set -euo pipefail
cd "$(dirname "$0")/.."
/usr/bin/python3 scripts/draw_skin.py res/skin res/NuvraSetup.ico
if command -v optipng >/dev/null; then
  optipng -quiet -o7 -strip all res/skin/*.png
else
  echo "draw-skin: optipng not found; PNGs left unoptimised" >&2
fi
du -cb res/skin/*.png res/NuvraSetup.ico | tail -1
