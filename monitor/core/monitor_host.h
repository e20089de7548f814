#pragma once
// What the Monitor's logic asks of its platform: the download worker, the
// windows of the two programs, the shell and the debug output. The Win32
// program's host adapter implements it; tests use a recording double.
#include <memory>
#include <string>
#include <string_view>

struct DownloadJob;

class IMonitorHost {
public:
    virtual ~IMonitorHost() = default;
    // Hands a download (with its own copy of the profile and the part flags)
    // to the worker. False when the job could not be queued.
    virtual bool QueueDownload(std::unique_ptr<DownloadJob> job) = 0;
    // Posts `message` (wParam 0, lParam 0) to the window titled
    // "7741 Gaming Mouse Option"; false when there is no such window.
    virtual bool PostToOption(unsigned message) = 0;
    // Posts the command that opens or activates Option to our own window.
    virtual void PostOpenOption() = 0;
    // Opens a program, document or command with the shell verb "open".
    virtual void OpenWithShell(const std::u16string& target) = 0;
    virtual void Debug(const wchar_t* text) = 0;
    // The profile the mouse was given last (the icon's tip names it); empty
    // when it got the Monitor's reset values.
    virtual void ShowActiveProfile(std::u16string_view /*name*/) {}
};
