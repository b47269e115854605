# Sourced by the tools that run Windows programs. This machine's kernel runs no 32-bit Linux code, so Wine runs
# in 64-bit mode here and the tests exercise the 64-bit twin of the Windows build (build/win64); the shipped
# 32-bit programs in build/win/bin are built from the same sources.
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8          # Wine's ANSI code page follows LANG: 1252 here, so byte comparisons are stable
WINE_BIN="${WINE_BIN:-/usr/lib/wine/wine64}"
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
