#!/usr/bin/env bash
# The scripts' guards: start_xvfb fails when Xvfb does not come up, leaving
# DISPLAY alone; wine-prefix refuses every folder but a build tree's prefix,
# touching nothing; an edition is x86 or x64; check-imports refuses a shipped
# binary with its debug information.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

mkdir "$work/bin"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/Xvfb"
chmod +x "$work/bin/Xvfb"
(
  PATH="$work/bin:$PATH"
  DISPLAY=":untouched"
  source "$root/scripts/xvfb.sh"
  if start_xvfb 2>"$work/xvfb.err"; then exit 1; fi
  [[ $DISPLAY == ":untouched" && -z $XVFB_PID ]]
) || fail "start_xvfb succeeded with an Xvfb that ends at once, or changed DISPLAY"
grep -q "did not start" "$work/xvfb.err" || fail "start_xvfb said: $(cat "$work/xvfb.err")"

mkdir -p "$work/tree/wineprefix" "$work/other/wineprefix"
touch "$work/tree/CMakeCache.txt" "$work/tree/wineprefix/keep" "$work/other/wineprefix/keep"
for dir in "" / "$work" "$work/tree" "$work/other/wineprefix" "$work/tree/../other/wineprefix" \
  "$work/tree/./wineprefix" relative/wineprefix; do
  said=$("$root/scripts/wine-prefix" boot "$dir" 2>&1)
  status=$?
  [[ $status -eq 2 && $said == *refusing* ]] || fail "wine-prefix boot '$dir': status $status, said: $said"
done
[[ -f $work/tree/wineprefix/keep && -f $work/other/wineprefix/keep ]] || fail "a refused prefix was touched"
"$root/scripts/wine-prefix" stop "$work/tree/wineprefix" || fail "a build tree's prefix was refused"

for edition in x32 X64 " x64"; do
  (
    source "$root/scripts/wine-env.sh"
    ROOTCASTER_EDITION=$edition choose_edition "$root/scripts" 2>/dev/null
  ) && fail "choose_edition took ROOTCASTER_EDITION='$edition'"
done

mkdir "$work/dist"
cp "$root/build/win64/bin/RootCaster.exe" "$work/dist/"
said=$("$root/scripts/check-imports" "$root/scripts/allowed-imports" "$work/dist" 2>&1) &&
  fail "check-imports passed an unstripped program"
[[ $said == *"carries debug sections (.debug"* ]] || fail "check-imports said: $said"

[[ $failures -eq 0 ]] && echo "script guards: ok"
exit $((failures > 0))
