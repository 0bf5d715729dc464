#!/bin/bash
# skin-preview.sh [OUT.png]
#
# Renders every skin image and every control state into one picture for
# review (default build/win32/skin-preview.png):
#   - the main page and the custom page as the window composes them: each
#     button and check box drawn over its backdrop at its place in the window;
#   - every sprite cut into its frames, each frame over the backdrop it is
#     drawn on, labelled with its state;
#   - the captions, the rocket, the dot and the icon over a checkerboard, so
#     transparency shows.
# Needs ImageMagick and the CJK font of scripts/bootstrap.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-build/win32/skin-preview.png}
S=res/skin
FONT=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
mkdir -p "$(dirname "$OUT")"

# frame IMAGE INDEX COUNT -> one frame of a vertical sprite strip
frame() {
  local h w
  w=$(identify -format %w "$1"); h=$(identify -format %h "$1")
  convert "$1" -crop "${w}x$((h / $3))+0+$(($2 * (h / $3)))" +repage PNG32:-
}

# A page: background, then each control's frame at its window position.
# place IMAGE INDEX COUNT X Y
page() {
  local bg=$1 out=$2; shift 2
  cp "$bg" "$out"
  while [ $# -gt 0 ]; do
    frame "$1" "$2" "$3" >"$TMP/f.png"
    convert "$out" "$TMP/f.png" -geometry "+$4+$5" -compose over -composite "PNG32:$out"
    shift 5
  done
}

CHK=$S/139-checkbox.png
page $S/130-background.png "$TMP/main.png" \
  $S/131-close.png 0 3 576 0  $S/135-minimize.png 0 3 552 0 \
  $S/134-install.png 0 3 214 275  $S/132-custom-install.png 0 3 486 368 \
  $CHK 3 6 15 368
convert "$TMP/main.png" -font "$FONT" -pointsize 12 -fill black \
  -annotate +36+381 "同意用户许可协议" "PNG32:$TMP/main.png"

page $S/130-background.png "$TMP/installing.png" $S/147-installing.png 0 1 248 285
page $S/130-background.png "$TMP/done.png" $S/149-done.png 0 1 248 285

page $S/136-background-custom.png "$TMP/custom.png" \
  $S/131-close.png 0 3 576 0  $S/135-minimize.png 0 3 552 0 \
  $S/150-install-now.png 0 3 352 405  $S/151-back.png 0 3 479 405 \
  $S/140-change-dir.png 0 3 435 262 \
  $CHK 0 6 265 327  $CHK 3 6 47 327  $CHK 3 6 47 356  $CHK 0 6 265 356
convert "$TMP/custom.png" -fill white -stroke '#becfdb' -draw "rectangle 47,262 434,294" \
  -stroke none -font "$FONT" -pointsize 12 -fill black \
  -annotate +53+283 'C:\\Users\\user\\AppData\\Local\\Nuvra\\NuvraBrowser\\' \
  -annotate +68+341 "添加到桌面快捷方式" -annotate +68+370 "添加到任务栏" \
  -annotate +286+341 "设为默认浏览器" -annotate +286+370 "加入用户体验计划" \
  -fill '#333333' -annotate +47+317 "分区剩余空间: 12.34GB" "PNG32:$TMP/custom.png"

# Every frame of every sprite over the backdrop under its control.
# strip NAME IMAGE COUNT SCALE BACKDROP X Y LABELS...
strip() {
  local name=$1 img=$2 n=$3 scale=$4 bg=$5 x=$6 y=$7; shift 7
  local w h i files=()
  w=$(identify -format %w "$img"); h=$(( $(identify -format %h "$img") / n ))
  for ((i = 0; i < n; i++)); do
    frame "$img" "$i" "$n" >"$TMP/fr.png"
    convert "$bg" -crop "${w}x${h}+$x+$y" +repage "$TMP/fr.png" -compose over -composite \
      -filter point -resize "$scale" -bordercolor '#dddddd' -border 1 \
      -background white -gravity southwest -splice 0x16 -gravity northwest -splice 8x0 \
      -gravity south -font "$FONT" -pointsize 11 -annotate +0+1 "$1" "PNG32:$TMP/s$i.png"
    files+=("$TMP/s$i.png"); shift
  done
  convert "${files[@]}" -background white -gravity north +append \
    -gravity northwest -splice 0x20 -font "$FONT" -pointsize 13 -annotate +8+2 "$name" \
    "PNG32:$TMP/strip-$name.png"
}
BG=$S/130-background.png; BGC=$S/136-background-custom.png
strip "134 一秒安装" $S/134-install.png 3 100% $BG 214 275 常态 悬停 按下
strip "150 立即安装" $S/150-install-now.png 3 100% $BGC 352 405 常态 悬停 按下
strip "151 返回" $S/151-back.png 3 200% $BGC 479 405 常态 悬停 按下
strip "140 更改目录" $S/140-change-dir.png 3 100% $BGC 435 262 常态 悬停 按下
strip "132 自定义安装" $S/132-custom-install.png 3 200% $BG 486 368 常态 悬停 按下
strip "131 关闭" $S/131-close.png 3 300% $BG 576 0 常态 悬停 按下
strip "135 最小化" $S/135-minimize.png 3 300% $BG 552 0 常态 悬停 按下
strip "139 复选框" $CHK 6 300% $BGC 47 327 未选 未选悬停 未选按下 选中 选中悬停 选中按下

# Loose pictures over a checkerboard.
loose=()
for f in 147-installing 149-done 145-rocket 148-dot; do
  w=$(identify -format %w $S/$f.png); h=$(identify -format %h $S/$f.png)
  convert -size "${w}x${h}" pattern:checkerboard $S/$f.png -compose over -composite \
    -filter point -resize 200% -background white -gravity northwest -splice 0x16 \
    -font "$FONT" -pointsize 11 -annotate +0+1 "$f" "PNG32:$TMP/l-$f.png"
  loose+=("$TMP/l-$f.png")
done
convert "res/NuvraSetup.ico" -background none -gravity south +append \
  -background white -gravity northwest -splice 0x16 -font "$FONT" -pointsize 11 \
  -annotate +0+1 "108 icon" "PNG32:$TMP/icon.png"
loose+=("$TMP/icon.png")
convert "${loose[@]}" -background white -gravity southwest -splice 16x0 +append "PNG32:$TMP/loose.png"

label() { convert "$1" -background white -gravity northwest -splice 0x22 \
  -gravity north -font "$FONT" -pointsize 14 -annotate +0+3 "$2" "PNG32:$1"; }
label "$TMP/main.png" "主页面"; label "$TMP/custom.png" "自定义页面"
label "$TMP/installing.png" "正在安装"; label "$TMP/done.png" "安装完成"

convert "$TMP/main.png" "$TMP/custom.png" -background white -gravity northwest -splice 12x0 +append "$TMP/row1.png"
convert "$TMP/installing.png" "$TMP/done.png" -background white -gravity northwest -splice 12x0 +append "$TMP/row2.png"
convert "$TMP"/strip-134*.png "$TMP"/strip-150*.png "$TMP"/strip-151*.png "$TMP"/strip-140*.png \
  -background white -gravity northwest -splice 24x0 +append "$TMP/row3.png"
convert "$TMP"/strip-132*.png "$TMP"/strip-131*.png "$TMP"/strip-135*.png "$TMP"/strip-139*.png \
  -background white -gravity northwest -splice 24x0 +append "$TMP/row4.png"
convert "$TMP/row1.png" "$TMP/row2.png" "$TMP/row3.png" "$TMP/row4.png" "$TMP/loose.png" \
  -background white -gravity northwest -splice 0x16 -append -bordercolor white -border 12 +repage "$OUT"
echo "$OUT"
