#!/usr/bin/env bash
# Regenerates the application icon and the Emoji pointer in resources/ (ImageMagick + python3).
set -euo pipefail
cd "$(dirname "$0")/../resources"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none -fill '#ff3d00' -draw 'circle 128,128 128,10' \
  -fill none -stroke white -strokewidth 10 -draw 'circle 128,128 128,34' \
  -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 150 -gravity center -annotate +0+6 'Z' "$tmp/icon.png"
convert "$tmp/icon.png" -define icon:auto-resize=48,32,16 zelkora.ico
# A smiling face, 32x32, hot spot at its upper left.
convert -size 32x32 xc:none -fill '#ffcc00' -stroke '#8a5a00' -strokewidth 1.5 -draw 'circle 16,16 16,2' \
  -fill '#4a2a00' -stroke none -draw 'circle 11,12 11,14' -draw 'circle 21,12 21,14' \
  -fill none -stroke '#4a2a00' -strokewidth 2 -draw 'arc 9,12 23,24 20,160' "$tmp/emoji.png"
convert "$tmp/emoji.png" -define icon:format=bmp "$tmp/emoji.ico"
python3 - "$tmp/emoji.ico" emoji.cur <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
struct.pack_into('<H', data, 2, 2)         # resource type: cursor
struct.pack_into('<HH', data, 6 + 4, 2, 2)  # hot spot (x, y) in place of planes/bit count
open(sys.argv[2], 'wb').write(data)
PY
# The built-in avatar of a customised copy whose QQ avatar does not come: a grey silhouette, 100x100.
convert -size 100x100 xc:'#dfe3e8' -fill '#9aa3ad' -draw 'circle 50,38 50,18' \
  -draw 'ellipse 50,104 36,34 180,360' -depth 8 -strip -define png:exclude-chunks=date,time default_avatar.png
