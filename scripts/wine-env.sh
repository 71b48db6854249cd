# Sourced: the Wine environment of this project (private prefix, code page 936, quiet).
ZK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  export LOCPATH="$ZK_ROOT/build/deps/locale"
fi
export WINEPREFIX="${WINEPREFIX:-$ZK_ROOT/build/wine/prefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
