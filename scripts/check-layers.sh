#!/usr/bin/env bash
# The layers point one way. Fails, naming the lines, when an include goes against them.
set -uo pipefail
cd "$(dirname "$0")/.."
bad=0
forbid() {  # forbid FOLDER PATTERN WHY: no file under FOLDER includes a header matching PATTERN
  local hits
  hits=$(grep -rnE "#include [\"<]($2)" "$1" --include='*.h' --include='*.cpp' 2>/dev/null)
  if [ -n "$hits" ]; then
    echo "layers: $1 must not include $3:"
    echo "$hits" | sed 's/^/  /'
    bad=1
  fi
}
forbid ui 'app/' 'the composition root'
forbid sync 'personal/|ui/|app/' 'later subsystems, views or the root'
forbid settings 'sync/|personal/|ui/|app/' 'the subsystems above it, views or the root'
forbid editor 'personal/|nettools/|ui/|app/' 'later subsystems, views or the root'
forbid nettools 'personal/|ui/|app/' 'later subsystems, views or the root'
forbid personal 'nettools/|ui/|app/' 'other subsystems beside it, views or the root'
forbid main 'settings/|sync/|personal/|editor/|nettools/|ui/|app/' 'feature logic, views or the root'
forbid text 'main/|settings/|sync/|platform/|ui/|app/' 'anything but its own helpers'
for folder in main settings sync editor nettools personal text; do
  forbid "$folder" 'windows\.h|platform/win32/' 'Win32 (portable logic never sees a Win32 type)'
done
[ -d platform ] && hits=$(grep -rlE '#include <windows\.h>' platform --include='*.h' --include='*.cpp' | grep -v '^platform/win32/')
if [ -n "${hits:-}" ]; then echo "layers: only platform/win32 includes windows.h in platform:"; echo "$hits"; bad=1; fi
if [ "$bad" = 0 ]; then echo "layers: 1 passed, 0 failed"; else echo "layers: 0 passed, 1 failed"; fi
exit $bad
