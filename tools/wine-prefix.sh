#!/usr/bin/env bash
# Creates and configures the Wine prefix named by WINEPREFIX, once.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must be set}"
stamp="$WINEPREFIX/.veldialogs-ready"
[[ -e "$stamp" ]] && exit 0

mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w

reg() { wine reg add "$@" /f >/dev/null 2>&1; }
# No window manager under Xvfb: unmanaged windows avoid a 2 s wait on every
# hide, and Wine-drawn frames make screenshots show what a user sees.
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N
# A crashing test must fail, not wait on a dialog.
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
# A program that pretends to run on Windows 98, for the load-refusal test.
reg 'HKCU\Software\Wine\AppDefaults\win98_host.exe' /v Version /d win98
wineserver -w

fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null || true
touch "$stamp"
