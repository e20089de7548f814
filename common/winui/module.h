#pragma once
// The module the calling code lives in: the program, or a DLL that links the
// framework. Window classes, dialogs, hooks, tooltips and resources all use it,
// so a DLL's classes never outlive its code and its resources are its own.
#include <windows.h>

HINSTANCE CurrentModule();
