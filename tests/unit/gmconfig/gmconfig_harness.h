#pragma once
// gmconfig run as a test wants it: in a fresh program folder, with a platform
// that counts the notices to the Monitor and everything done with the store
// lock. Shared by the gmconfig tests and the device tests of its reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../settings/test_support.h"
#include "gmconfig.h"
#include "profile_store.h"
#include "shared_lock.h"

// What was done with the store lock, and the store's bytes at each turn of it.
struct LockLog {
    bool refuse = false;  // every Acquire fails, as after a holder died with the lock
    int opened = 0;
    int attempts = 0;  // Acquire calls
    int acquired = 0;  // Acquire calls that succeeded
    int released = 0;
    int releasedUnheld = 0;  // Release calls while nothing was held
    std::vector<std::string> storeAtAcquire, storeAtRelease;
};

// A stand-in for the Monitor's named mutex that writes down every turn.
class CountingLock final : public ISharedLock {
public:
    CountingLock(LockLog& log, std::filesystem::path store) : log_(log), store_(std::move(store)) {}
    bool Acquire() override {
        ++log_.attempts;
        if (log_.refuse) return false;
        ++log_.acquired;
        ++held_;
        log_.storeAtAcquire.push_back(ReadBytes(store_));
        return true;
    }
    void Release() override {
        ++log_.released;
        if (held_ == 0) {
            ++log_.releasedUnheld;
            return;
        }
        --held_;
        log_.storeAtRelease.push_back(ReadBytes(store_));
    }

private:
    LockLog& log_;
    std::filesystem::path store_;
    int held_ = 0;
};

class FakeGmconfigPlatform final : public IGmconfigPlatform {
public:
    std::filesystem::path folder;
    int notified = 0;
    bool withLock = false;  // false: no Monitor runs, so there is no lock to open
    LockLog lock;

    std::filesystem::path ProgramFolder() override { return folder; }
    std::unique_ptr<ISharedLock> OpenStoreLock() override {
        if (!withLock) return nullptr;
        ++lock.opened;
        return std::make_unique<CountingLock>(lock, ProfileStorePath(folder));
    }
    bool NotifyMonitor() override {
        ++notified;
        return true;
    }
};

class GmconfigHarness : public ::testing::Test {
protected:
    void SetUp() override { platform.folder = dir.path(); }

    int Run(std::vector<std::string> args) {
        std::ostringstream o, e;
        const int rc = RunGmconfig(args, o, e, platform);
        out = o.str();
        err = e.str();
        return rc;
    }
    std::filesystem::path StorePath() const { return ProfileStorePath(dir.path()); }

    TempFolder dir;
    FakeGmconfigPlatform platform;
    std::string out, err;
};
