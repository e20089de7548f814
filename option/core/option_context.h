#pragma once
// What every page of Option is handed when it is made, instead of reaching for
// globals: the session it edits, the Monitor it asks to apply the store, the
// texts it shows, and the page that applies a changed profile. The main window
// owns it for as long as its pages live.
#include <functional>
#include <string>

class IMonitorPort;
class OptionSession;

class OptionContext {
public:
    // The text of a number of the text library; empty when there is none.
    using TextSource = std::function<std::wstring(unsigned id)>;

    OptionContext(OptionSession& session, IMonitorPort& monitor, TextSource texts)
        : session_(session), monitor_(monitor), texts_(std::move(texts)) {}

    OptionSession& Session() const { return session_; }
    IMonitorPort& Monitor() const { return monitor_; }
    std::wstring Text(unsigned id) const { return texts_ ? texts_(id) : std::wstring(); }

    // The configuration page applies the current profile after a page changed
    // it: `later` once the page's own message is handled, `now` before the
    // caller goes on. Without them a change is only stored.
    void SetSettingsChanged(std::function<void()> later, std::function<void()> now) {
        changedLater_ = std::move(later);
        changedNow_ = std::move(now);
    }
    void SettingsChanged() const {
        if (changedLater_) changedLater_();
    }
    void SettingsChangedNow() const {
        if (changedNow_) changedNow_();
    }

private:
    OptionSession& session_;
    IMonitorPort& monitor_;
    TextSource texts_;
    std::function<void()> changedLater_;
    std::function<void()> changedNow_;
};
