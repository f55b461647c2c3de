# Sourced: start_xvfb starts an X server of our own on a free display and
# exports DISPLAY, or fails when the server does not come up; stop_xvfb ends
# that server (and only that one).
XVFB_PID=""
start_xvfb() {
  local displayfile display
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [[ -s $displayfile ]] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  display=$(tr -d '\n' <"$displayfile")
  rm -f "$displayfile"
  if [[ ! $display =~ ^[0-9]+$ ]] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
    echo "start_xvfb: Xvfb did not start (display number '$display')" >&2
    stop_xvfb
    return 1
  fi
  export DISPLAY=":$display"
}
stop_xvfb() {
  if [[ -n $XVFB_PID ]]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
