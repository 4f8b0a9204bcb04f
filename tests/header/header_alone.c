/* include/VelDialogs.h on its own, twice (the guard must hold), compiled as
   C and as C++ by each cross build's compilers with every warning an error. */
#include "VelDialogs.h"
#include "VelDialogs.h"
