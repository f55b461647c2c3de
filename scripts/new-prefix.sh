# Sourced by the scripts that make Wine prefixes.
# make_prefix: makes the prefix $WINEPREFIX names (its folder may exist,
# empty) and ends its server. Making a prefix leaves two service managers running in
# it; with both, the RPC service cannot start and every program that starts
# COM waits about 20 s for it. Ending the server ends both; the next program
# that needs one starts a single one.
make_prefix() {
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null || return
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
