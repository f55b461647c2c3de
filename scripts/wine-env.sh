# Sourced by every script that runs Wine (sh and bash alike).
#
# wine_for_arch ARCH SCRIPTS: exports WINEARCH=ARCH (win32 or win64) and puts
# the Wine for it first on PATH (wine, wineboot, winecfg, winepath,
# regsvr32). A 64-bit prefix gets Wine's 64-bit loader called by its path
# (scripts/wine64/), which works also on machines that run no 32-bit code.
wine_for_arch() {
  WINEARCH=$1
  export WINEARCH
  case "$PATH" in
    "$2/wine64:"*) ;;
    *) [ "$1" = win64 ] && PATH="$2/wine64:$PATH" && export PATH ;;
  esac
  return 0
}

# can_run_x86: whether this machine runs 32-bit x86 code, found by trying
# Wine's 32-bit loader. Some kernels refuse every i386 program ("Exec format
# error"), and no emulation brings 32-bit Wine back there.
can_run_x86() {
  timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1
}

# choose_edition SCRIPTS: the edition a script runs, in EDITION (x86 or x64),
# with its build tree (EDITION_BUILD, below build/), its dist folder
# (EDITION_DIST, below dist/: "" or "x64/") and its Wine (wine_for_arch).
# ROOTCASTER_EDITION=x86|x64 chooses; by default x86 where this machine runs
# 32-bit code, else x64, said in one line on stderr.
choose_edition() {
  EDITION=${ROOTCASTER_EDITION:-}
  case "$EDITION" in
    x64) ;;
    x86)
      if ! can_run_x86; then
        echo "ROOTCASTER_EDITION=x86: this machine runs no 32-bit x86 code (Wine's 32-bit loader does not start)" >&2
        return 2
      fi
      ;;
    "")
      if can_run_x86; then
        EDITION=x86
      else
        EDITION=x64
        echo "this machine runs no 32-bit x86 code (Wine's 32-bit loader does not start): using the x64 edition" >&2
      fi
      ;;
    *)
      echo "ROOTCASTER_EDITION must be x86 or x64, not '$EDITION'" >&2
      return 2
      ;;
  esac
  if [ "$EDITION" = x86 ]; then
    EDITION_BUILD=win32 EDITION_DIST=""
    wine_for_arch win32 "$1"
  else
    EDITION_BUILD=win64 EDITION_DIST="x64/"
    wine_for_arch win64 "$1"
  fi
}
