# Sourced by the tools that run Windows programs. Where 32-bit Wine is installed (tools/setup installs it when the
# kernel runs 32-bit code), the tests run the shipped 32-bit programs of build/win; elsewhere they run the 64-bit
# twin of the same sources, build/win64. PELO_WINE_BITS=32 or 64 chooses by hand.
if [ -z "${PELO_WINE_BITS:-}" ]; then
  if [ -x /usr/lib/wine/wine ] && [ -d /usr/lib/i386-linux-gnu/wine ]; then PELO_WINE_BITS=32; else PELO_WINE_BITS=64; fi
fi
export PELO_WINE_BITS
if [ "$PELO_WINE_BITS" = 32 ]; then
  PELO_WIN_BUILD=build/win
  WINE_BIN="${WINE_BIN:-/usr/lib/wine/wine}"
else
  PELO_WIN_BUILD=build/win64
  WINE_BIN="${WINE_BIN:-/usr/lib/wine/wine64}"
fi
export PELO_WIN_BUILD
# One prefix kind for both: a 64-bit prefix made with 32-bit Wine present runs 32-bit programs too. Prefixes made
# before 32-bit Wine was installed cannot, so the prefixes' names carry the choice.
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8          # Wine's ANSI code page follows LANG: 1252 here, so byte comparisons are stable
WINESERVER_BIN="${WINESERVER_BIN:-/usr/lib/wine/wineserver}"

# make_wine_prefix DIR: a fresh prefix with the settings the tests rely on (about 30 s).
make_wine_prefix() {
  local dir="$1"
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  WINEPREFIX="$dir" "$WINE_BIN" wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX="$dir" "$WINESERVER_BIN" -w
  # Without a window manager, unmanaged windows avoid a 2 s stall on destroy and let other processes raise them.
  WINEPREFIX="$dir" "$WINE_BIN" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  WINEPREFIX="$dir" "$WINESERVER_BIN" -w
  touch "$dir/.pelo-ready"
}

# ensure_wine_prefix DIR: makes the prefix unless a complete one is there.
ensure_wine_prefix() {
  [ -f "$1/.pelo-ready" ] || make_wine_prefix "$1"
}
