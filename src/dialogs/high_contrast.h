// The user's High Contrast setting, under which the library's fixed colours
// give way to the system's.
#pragma once

// Read afresh at each call, so that painting follows a switch at once.
bool HighContrastOn();
