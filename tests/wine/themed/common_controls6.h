// The resource that names the Common Controls 6 assembly in every Wine test
// program, and the flag that makes a program run with it active.
#pragma once
#define VEL_COMMON_CONTROLS6_MANIFEST 101
#define VEL_COMMON_CONTROLS6_FLAG L"--common-controls-6"
