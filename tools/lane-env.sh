# Usage: . tools/lane-env.sh LANE LANE_BUILD_DIR
# Sets the Wine environment of one lane: 32 (a win32 prefix, the 32-bit
# loader) or 64 (a win64 prefix, the 64-bit loader and server called
# directly, since /usr/bin/wine starts the 32-bit loader). The prefix lives
# in the lane's build folder. WINE and VEL_WINESERVER name the programs that
# the scripts run; Wine itself reads WINESERVER, which only the 64-bit lane
# sets, to start its own server rather than the one beside the 32-bit loader.
# VEL_DPI, when set to a DPI other than 96, picks the lane's prefix whose
# screen has that DPI (Wine reads it once, when its server starts).
vel_lane=$1
vel_lane_build=$(realpath -m "$2")
export WINEPREFIX="$vel_lane_build/wineprefix"
if [[ -n "${VEL_DPI:-}" && "$VEL_DPI" != 96 ]]; then
  export WINEPREFIX="$vel_lane_build/wineprefix-dpi$VEL_DPI"
fi
export WINEARCH="win$vel_lane"
export WINEDEBUG=-all
# Keep Wine from offering to install Mono and Gecko into a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [[ "$vel_lane" == 64 ]]; then
  export WINE=/usr/lib/wine/wine64 VEL_WINESERVER=/usr/lib/wine/wineserver64
  export WINESERVER=$VEL_WINESERVER
else
  export WINE=wine VEL_WINESERVER=wineserver
  unset WINESERVER
fi
export VEL_LANE=$vel_lane VEL_LANE_BUILD=$vel_lane_build
