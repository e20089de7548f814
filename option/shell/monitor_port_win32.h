#pragma once
// The Monitor as Option reaches it: its top-level window, found by title when
// a message is to be posted.
#include "option_session.h"

class CMonitorPort final : public IMonitorPort {
public:
    bool PostApplyAll() override;
    // Posts WM_CLOSE to the Monitor; false when none runs.
    static bool PostClose();
};
