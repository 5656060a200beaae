#pragma once
// The one door to the Windows headers. Code outside platform/ that needs Win32 types includes
// a platform header rather than <windows.h>.
#include <windows.h>
