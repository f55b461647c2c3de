# Sourced by the scripts that make Wine prefixes.
# make_prefix: makes the prefix $WINEPREFIX names (its folder may exist,
# empty) and ends its server. Making a prefix leaves two service managers running in
# it; with both, the RPC service cannot start and every program that starts
# COM waits about 20 s for it. Ending the server ends both; the next program
# that needs one starts a single one.
# A crash must end its program at once, with its message, not wait for ever
# in winedbg (in a 64-bit prefix neither for 64-bit nor for 32-bit programs).
make_prefix() {
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null || return
  no_crash_debugger
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# Wine starts winedbg when AeDebug names no debugger: it names one that does
# not exist, so the crashed program ends with its message instead.
no_crash_debugger() {
  set -- 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d no-debugger-for-crashes /f
  if [ "$WINEARCH" = win64 ]; then
    wine reg add "$@" /reg:64 >/dev/null 2>&1 || true
    wine reg add "$@" /reg:32 >/dev/null 2>&1 || true
  else
    wine reg add "$@" >/dev/null 2>&1 || true
  fi
}
