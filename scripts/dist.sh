#!/usr/bin/env bash
# The release: dist/Zelkora-<version>.zip with Zelkora.exe, the user guide 使用说明.txt (GBK, CR LF),
# LICENSE (CR LF) and SHA256SUMS (sha256sum's own format, UTF-8 names) over the other three.
# The entries carry the commit's time (or SOURCE_DATE_EPOCH), so the same commit gives the same zip.
set -euo pipefail
cd "$(dirname "$0")/.."

exe=build/win64/Zelkora.exe
tool=build/native/zk_dist
version=$(head -n1 build/win64/version.txt 2>/dev/null || true)
[[ "$version" =~ ^[0-9]+\.[0-9]+(\.[0-9]+)?$ ]] || { echo "dist: no version in build/win64/version.txt (configure the win64 preset)" >&2; exit 1; }
[ -f "$exe" ] || { echo "dist: $exe is missing" >&2; exit 1; }
[ -x "$tool" ] || { echo "dist: $tool is missing" >&2; exit 1; }
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
[[ "$epoch" =~ ^[0-9]+$ ]] || { echo "dist: no commit time; set SOURCE_DATE_EPOCH" >&2; exit 1; }

guide="使用说明.txt"
stage=build/dist-stage
rm -rf "$stage" && mkdir -p "$stage" dist
cp "$exe" "$stage/Zelkora.exe"
"$tool" guide docs/user-guide.txt "$stage/$guide"
"$tool" guide LICENSE "$stage/LICENSE"
(cd "$stage" && /usr/bin/sha256sum Zelkora.exe "$guide" LICENSE > SHA256SUMS)
out="dist/Zelkora-$version.zip"
"$tool" zip "$out" "$epoch" "$stage" Zelkora.exe "$guide" LICENSE SHA256SUMS
echo "dist: $out ($(stat -c %s "$out") bytes)"
