# Usage: . tools/lane-env.sh LANE LANE_BUILD_DIR
# Sets the Wine environment of one lane: 32 (a win32 prefix, the 32-bit
# loader) or 64 (a win64 prefix, the 64-bit loader and server called
# directly, since /usr/bin/wine starts the 32-bit loader). The prefix lives
# in the lane's build folder. WINE and WINESERVER name the programs to run.
vel_lane=$1
vel_lane_build=$(realpath -m "$2")
export WINEPREFIX="$vel_lane_build/wineprefix"
export WINEARCH="win$vel_lane"
export WINEDEBUG=-all
# Keep Wine from offering to install Mono and Gecko into a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [[ "$vel_lane" == 64 ]]; then
  export WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
else
  export WINE=wine WINESERVER=wineserver
fi
export VEL_LANE=$vel_lane VEL_LANE_BUILD=$vel_lane_build
