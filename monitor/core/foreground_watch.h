#pragma once
// Following the window in front cheaply enough to look several times a
// second: its handle is compared on every look, its program's file name is
// asked for only when the handle changed. MonitorLogic decides what the
// program means; the Win32 glue supplies the platform and the timer.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The platform's view of the foreground. Window() is called on every look.
class IForegroundWindow {
public:
    virtual ~IForegroundWindow() = default;
    // The window in front as an opaque number; 0 when there is none.
    virtual uintptr_t Window() = 0;
    // The executable file name of the program owning `window`; empty when
    // the platform will not tell (a process of another user, one just gone).
    virtual std::wstring ProgramOf(uintptr_t window) = 0;
    // Keeps track of the program owning `window` until it ends: a game that
    // left the front may come back to it at any moment. A program that will
    // not be followed (of another user) is left alone.
    virtual void Follow(uintptr_t window) = 0;
    // The executable file names of the followed programs still running; those
    // that ended are forgotten.
    virtual std::vector<std::wstring> FollowedPrograms() = 0;
};

// How often the foreground is looked at while the mouse is connected. A game
// must have its profile within a quarter second of coming to the front, and
// the system's foreground event does not come everywhere (never under Wine).
// Not shorter: every look wakes the Monitor, and at 200 ms the idle Monitor
// already cost a third more CPU than the quarter second allows for.
inline constexpr unsigned kForegroundPeriodMs = 250;
// While no linked game runs and none waits for the way home, a change in
// front cannot matter: the look, and a look whether the store now links a
// game or one of its games started, come at the pace of the old timer, which
// costs a fraction. At the quick pace the same question is asked as often,
// so that the Monitor slows down again once the game has ended.
inline constexpr unsigned kForegroundIdlePeriodMs = 2000;

class ForegroundWatch {
public:
    explicit ForegroundWatch(IForegroundWindow& platform) : platform_(platform) {}

    // One look. The program's name when another window came to the front and
    // the name could be read; nothing otherwise. A window whose name cannot
    // be read is not asked again while it stays in front.
    std::optional<std::wstring> Look();
    // Follows the program of the window the last look found in front.
    void FollowProgramInFront();

private:
    IForegroundWindow& platform_;
    uintptr_t last_ = 0;
};
