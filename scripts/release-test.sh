#!/usr/bin/env bash
# The release checks: `make dist` gives a zip of exactly its four files (the guide GBK with CR LF,
# checksums that match, the executable the build made); a second run gives the same zip bytes; and
# Zelkora.exe made again gives the same bytes. By default "again" is its resource compiled, its
# entry compiled and the whole executable linked anew in the same folder (where link and resource
# time stamps would show; half a minute). ZK_RELEASE_FULL_REBUILD=1 builds it a second time in a
# fresh folder without the compiler cache instead (four to five minutes on two cores).
set -uo pipefail
cd "$(dirname "$0")/.."
passed=0
failed=0
step() {
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "release: $name: ok"
  else
    failed=$((failed + 1))
    echo "release: $name: FAILED"
  fi
}

version=$(head -n1 build/win64/version.txt 2>/dev/null || true)
zip="dist/Zelkora-$version.zip"
first=build/release-first.zip
firstExe=build/release-first.exe

make_dist_twice() {
  scripts/dist.sh && cp "$zip" "$first" && scripts/dist.sh && cmp "$first" "$zip"
}
# Nothing in the sources that the compiler fills in with the time of the build.
no_build_time() {
  ! grep -rnE '__(DATE|TIME|TIMESTAMP)__' app main settings sync editor nettools personal platform ui text resources \
    --include='*.cpp' --include='*.h' --include='*.rc'
}
exe_again() {
  cp build/win64/Zelkora.exe "$firstExe" || return 1
  if [ "${ZK_RELEASE_FULL_REBUILD:-0}" = 1 ]; then
    rm -rf build/win64-again
    (unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
     cmake --preset win64 -B build/win64-again -DZK_DEPS="$PWD/build/deps" >/dev/null &&
       cmake --build build/win64-again -j"${JOBS:-2}" --target Zelkora >/dev/null) || return 1
    cmp "$firstExe" build/win64-again/Zelkora.exe
  else
    sleep 1  # a link time stamp, if there were one, would now differ
    rm -f build/win64/Zelkora.exe build/win64/CMakeFiles/Zelkora.dir/resources/zelkora.rc.res \
      build/win64/CMakeFiles/Zelkora.dir/app/main_win32.cpp.obj
    cmake --build build/win64 -j"${JOBS:-2}" --target Zelkora >/dev/null || return 1
    cmp "$firstExe" build/win64/Zelkora.exe
  fi
}

step "make dist twice, the same zip bytes" make_dist_twice
step "the zip's four files" python3 scripts/release-check.py "$zip" build/win64/Zelkora.exe "$version"
step "no build time in the sources" no_build_time
step "Zelkora.exe made again, the same bytes" exe_again
echo "release: $passed passed, $failed failed"
[ "$failed" = 0 ]
