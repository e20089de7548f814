#pragma once
// A stand-in for the Monitor's named mutex over the store: counts every turn of
// it, and can refuse, as when a holder died with the lock.
#include "shared_lock.h"

class CountingLock : public ISharedLock {
public:
    bool refuse = false;  // every Acquire fails
    int attempts = 0;     // Acquire calls
    int acquired = 0;     // Acquire calls that succeeded
    int released = 0;     // Release calls
    int held = 0;         // acquired minus released: below zero after a Release too many
    int releasedUnheld = 0;

    bool Acquire() override {
        ++attempts;
        if (refuse) return false;
        ++acquired;
        ++held;
        Acquired();
        return true;
    }
    void Release() override {
        ++released;
        if (held-- <= 0) {
            ++releasedUnheld;
            return;
        }
        Released();
    }

protected:
    // For a lock that also looks at what it guards at each turn.
    virtual void Acquired() {}
    virtual void Released() {}
};
