# Sourced by the scripts that show RootCaster's dialog on an X server of
# their own (scripts/screenshot, scripts/run without a display). Needs $root,
# WINEPREFIX, DISPLAY, a build and the edition (choose_edition).
DRIVER="$root/build/$EDITION_BUILD/bin/uidriver.exe"

# Wine's virtual desktop draws the windows' frames and captions, which no
# window manager draws on a bare X server. Their buttons' glyphs come from
# Wine's Marlett font, which this Wine does not find in its own data folder.
virtual_desktop_on() {
  local marlett=/usr/share/wine/fonts/marlett.ttf
  [[ -f $marlett ]] && cp -u "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
  # The desktop running now was made without it: start this prefix's afresh.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
# Wine draws the dialogs in its raster MS Sans Serif, which has no Chinese,
# Japanese or emoji characters and is linked to no font that has (Windows
# links its TrueType fonts to its own East Asian and emoji fonts). The host's
# DejaVu Sans (Latin, Greek, emoji) takes its place, linked to the host's
# Droid Sans Fallback (Chinese, Japanese, Korean); without them those
# characters show as boxes.
host_fonts_linked() {
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 'MS Sans Serif' \
    /d 'DejaVu Sans' /f >/dev/null
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v 'DejaVu Sans' \
    /t REG_MULTI_SZ /d 'DroidSansFallbackFull.ttf,Droid Sans Fallback' /f >/dev/null
}

virtual_desktop_off() {
  wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
}

# capture CAPTION FILE: a PNG of the window with that caption, cut out of
# the screen by its own rectangle once that has stayed put for a second (on a
# fresh prefix the virtual desktop still settles after the window shows).
capture() {
  local geometry previous=""
  for _ in $(seq 10); do
    sleep 1
    geometry=$(wine "$DRIVER" geometry "$1" | tr -d '\r')
    [[ $geometry == "$previous" ]] && break
    previous=$geometry
  done
  mkdir -p "$(dirname "$2")"
  import -window root -crop "$geometry" +repage "$2"
  echo "saved $2"
}
