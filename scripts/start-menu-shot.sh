# Sourced by the scripts that picture Wine's own start menu (scripts/screenshot,
# scripts/run without a display). Needs $root, WINEPREFIX, DISPLAY, a build,
# the edition (choose_edition) and the folder-menu extension registered in
# the prefix.
STARTMENU="$root/build/$EDITION_BUILD/bin/startmenu.exe"

# start_menu_shot DIRECTORY FILE: explorer's desktop with a Start button (the
# desktop named "shell"), its Start menu opened down RootCaster > drive > ...
# > DIRECTORY by startmenu.exe, saved as a PNG. The desktop runs on until the
# caller ends the prefix's wineserver.
start_menu_shot() {
  local relative="${1//:/}" result="$root/build/start-menu-result.txt" window
  relative=${relative#\\\\}
  relative="RootCaster\\${relative%\\}"
  rm -f "$result"
  wine explorer /desktop=shell,1024x768 "$STARTMENU" show "$relative" "Z:${result//\//\\}" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 240); do
    [[ -s $result ]] && break
    sleep 0.5
  done
  if [[ $(tr -d '\r\n' <"$result" 2>/dev/null) != ok ]]; then
    echo "start menu not shown: $(cat "$result" 2>/dev/null)" >&2
    return 1
  fi
  sleep 1  # the last menu paints its entries
  window=$(xdotool search --name '^shell - Wine desktop$' | head -1)
  mkdir -p "$(dirname "$2")"
  import -window "$window" "$2"
  echo "saved $2"
}
