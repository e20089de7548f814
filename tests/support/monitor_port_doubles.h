#pragma once
// The ports of the Monitor's logic as test doubles, shared by its unit tests
// and by the test that runs both programs together.
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "download_job.h"
#include "foreground_watch.h"
#include "monitor_host.h"
#include "pointer_settings.h"

// The Monitor's platform: keeps the queued downloads and what was posted.
class RecordingHost : public IMonitorHost {
public:
    bool optionWindow = true;
    bool queueAccepts = true;
    std::vector<std::unique_ptr<DownloadJob>> jobs;
    std::vector<unsigned> optionMessages;
    int openOptionPosts = 0;
    std::vector<std::u16string> opened;
    std::vector<std::wstring> debug;
    std::vector<std::u16string> shown;  // the tray's profile names

    bool QueueDownload(std::unique_ptr<DownloadJob> job) override {
        if (!queueAccepts || !job) return false;
        jobs.push_back(std::move(job));
        return true;
    }
    bool PostToOption(unsigned message) override {
        if (!optionWindow) return false;
        optionMessages.push_back(message);
        return true;
    }
    void PostOpenOption() override { ++openOptionPosts; }
    void OpenWithShell(const std::u16string& target) override { opened.push_back(target); }
    void Debug(const wchar_t* text) override { debug.emplace_back(text); }
    void ShowActiveProfile(std::u16string_view name) override { shown.emplace_back(name); }
    bool Said(const wchar_t* text) const {
        for (const auto& line : debug)
            if (line == text) return true;
        return false;
    }
};

class CountingSystem : public ISystemPointer {
public:
    std::vector<int> speeds;
    int parameterCalls = 0;
    void SetMouseParameters(const std::array<int, 3>&) override { ++parameterCalls; }
    void SetPointerSpeed(int speed) override { speeds.push_back(speed); }
};

// The window in front, set by the test; counts how often a name was asked for.
class ScriptedForeground : public IForegroundWindow {
public:
    uintptr_t window = 0;
    std::map<uintptr_t, std::wstring> programs;  // a window missing here has no readable name
    int programQueries = 0;

    std::vector<uintptr_t> followed;    // in the order Follow was called
    std::vector<std::wstring> running;  // what FollowedPrograms answers
    int runningQueries = 0;

    uintptr_t Window() override { return window; }
    void Follow(uintptr_t w) override { followed.push_back(w); }
    std::vector<std::wstring> FollowedPrograms() override {
        ++runningQueries;
        return running;
    }
    std::wstring ProgramOf(uintptr_t w) override {
        ++programQueries;
        const auto found = programs.find(w);
        return found == programs.end() ? std::wstring() : found->second;
    }
};
