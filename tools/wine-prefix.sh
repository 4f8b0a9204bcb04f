#!/usr/bin/env bash
# Creates and configures the Wine prefix named by WINEPREFIX, once, with the
# Wine programs that tools/lane-env.sh names; VEL_DPI, when set, is the
# screen DPI that the prefix gets.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must be set}"
: "${WINE:=wine}" "${VEL_WINESERVER:=wineserver}"
# The stamp names the set-up's version: bump it when adding settings, so
# that an existing prefix gets them too.
setup_version=2
stamp="$WINEPREFIX/.veldialogs-ready-$setup_version"
[[ -e "$stamp" ]] && exit 0

mkdir -p "$WINEPREFIX"
"$WINE" wineboot -i >/dev/null 2>&1 </dev/null
"$VEL_WINESERVER" -w

reg() { "$WINE" reg add "$@" /f >/dev/null 2>&1 </dev/null; }
# No window manager under Xvfb: unmanaged windows avoid a 2 s wait on every
# hide, and Wine-drawn frames make screenshots show what a user sees.
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N
# A crashing test must fail, not wait on a dialog.
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
# A program that pretends to run on Windows 98, for the load-refusal test.
reg 'HKCU\Software\Wine\AppDefaults\win98_host.exe' /v Version /d win98
# One that reports Windows NT 4.0, for the file dialogs' older record.
reg 'HKCU\Software\Wine\AppDefaults\nt4_host.exe' /v Version /d nt40
# The screen's DPI, for the editors' scaling; the server reads it at start.
if [[ -n "${VEL_DPI:-}" && "$VEL_DPI" != 96 ]]; then
  reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VEL_DPI"
  reg 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels /t REG_DWORD /d "$VEL_DPI"
fi
"$VEL_WINESERVER" -w

fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null || true
rm -f "$WINEPREFIX"/.veldialogs-ready*
touch "$stamp"
