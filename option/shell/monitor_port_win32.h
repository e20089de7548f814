#pragma once
// The Monitor as Option reaches it: its top-level window, found by title when
// a message is to be posted.
#include "option_session.h"

class CMonitorPort final : public IMonitorPort {
public:
    bool PostApplyAll() override;
    // Posts WM_CLOSE to the Monitor; false when none runs.
    static bool PostClose();
    // Whether the Monitor holds the mouse now. No Monitor, or one that does
    // not answer, holds none: changes are then only saved.
    static bool MouseConnected();
};
