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

#include "../../support/counting_lock.h"
#include "../settings/test_support.h"
#include "gmconfig.h"
#include "profile_store.h"
#include "shared_lock.h"

// What was done with the store lock, and the store's bytes at each turn of it.
class LockLog final : public CountingLock {
public:
    int opened = 0;
    std::filesystem::path store;
    std::vector<std::string> storeAtAcquire, storeAtRelease;

private:
    void Acquired() override { storeAtAcquire.push_back(ReadBytes(store)); }
    void Released() override { storeAtRelease.push_back(ReadBytes(store)); }
};

// The lock gmconfig opens and owns; its turns are written down in the platform's log.
class LoggedLock final : public ISharedLock {
public:
    explicit LoggedLock(LockLog& log) : log_(log) {}
    bool Acquire() override { return log_.Acquire(); }
    void Release() override { log_.Release(); }

private:
    LockLog& log_;
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
        lock.store = ProfileStorePath(folder);
        return std::make_unique<LoggedLock>(lock);
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
