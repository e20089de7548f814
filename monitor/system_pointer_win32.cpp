#include "system_pointer_win32.h"

#include <windows.h>

void CSystemPointer::SetMouseParameters(const std::array<int, 3>& triple) {
    int values[3] = {triple[0], triple[1], triple[2]};
    SystemParametersInfoW(SPI_SETMOUSE, 0, values, SPIF_SENDCHANGE);
}

void CSystemPointer::SetPointerSpeed(int speed) {
    // The speed travels as the value of the pointer argument. Windows ignores
    // the integer argument of this action; Wine reads the speed from it
    // instead, so it carries the same value.
    SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                          reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)), SPIF_SENDCHANGE);
}
