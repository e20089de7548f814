#pragma once
// Option's port to the Monitor as a test double, shared by the session's unit
// tests and by the test that runs both programs together.
#include "option_session.h"

// Option's way to the Monitor: counts the apply requests; `running` false
// stands for no Monitor window.
class FakeMonitor : public IMonitorPort {
public:
    bool running = true;
    int posts = 0;
    bool PostApplyAll() override {
        ++posts;
        return running;
    }
};
