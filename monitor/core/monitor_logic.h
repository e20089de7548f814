#pragma once
// Everything the Monitor decides without a window: which profile it holds, how
// it reloads the store, what an apply request or a button of the mouse leads
// to. The main window owns one and forwards its messages; the platform is
// reached through IMonitorHost, ISystemPointer and IPointerRegistry.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device_event.h"
#include "game_switch.h"
#include "monitor_host.h"
#include "pointer_settings.h"
#include "profile_store.h"

class ISharedLock;

class MonitorLogic {
public:
    MonitorLogic(std::filesystem::path storeFile, IMonitorHost& host, ISystemPointer& pointer);

    // Both may be null: no registry key (reads 0, no writes), no lock yet.
    void SetPointerRegistry(IPointerRegistry* key) { registry_ = key; }
    void SetStoreLock(ISharedLock* lock) { lock_ = lock; }

    // Start-up: read the store without the lock (it does not exist yet).
    void LoadAtStartup();
    // Applies the current profile's pointer settings; without a current
    // profile the system's settings stay as they are.
    void ApplyPointerSettings();

    // WM_APPLY_ALL_SETTING: reload, pointer settings, then the changed parts go
    // to the worker, or Option is answered at once when nothing can be sent.
    void OnApplyAllSetting(bool mouseConnected, intptr_t lParam);

    // A full download (start-up timer, arrival): the current profile, or the
    // Monitor's reset values when the store has none.
    bool QueueFullDownload();

    // WM_DEVICE_EVENT: a button of the mouse. A launch opens the button's
    // program, the configuration button opens Option, a DPI level or polling
    // rate chosen on the mouse is written into the store and Option told. A
    // value the profile cannot hold is stored as the nearest it can (a level)
    // or not at all (a rate), and the mouse is given what the store holds.
    void OnDeviceEvent(uint64_t wParam, int64_t lParam);

    const ProfileStore& store() const { return store_; }
    const ProfileRecord* CurrentProfile() const;

    // Executable name of the program in the foreground, folded
    // (FoldProgramName), as the foreground timer last saw it.
    const std::wstring& ForegroundProgram() const { return foregroundProgram_; }
    // True when the name changed; a new name is followed at once (a game's
    // profile, or back home). Costs no file access while the store on disk
    // is the one read last.
    bool SetForegroundProgram(std::wstring_view name);

    // Automatic game profiles on or off, from the icon's menu: stored at once.
    // Turning them off leaves the current profile as it is and forgets the way
    // back; turning them on follows the program in front at once (with one of
    // ours in front, the program before it).
    void SetGameProfilesEnabled(bool enabled);
    bool GameProfilesEnabled() const { return store_.games.enabled; }

    // The executable file names of programs known to be running, in any case.
    using RunningPrograms = std::function<std::vector<std::wstring>()>;

    // Whether a change of the program in front can matter now: game profiles
    // are on, and a game's profile waits for the way home or one of the
    // linked games is known to run (`running`: the games seen in front that
    // have not ended). A game that never came to the front while the Monitor
    // looked is found by the slow look when it does. `running` is asked only
    // when that decides it; without it, every link counts as running.
    // Asked on the foreground clock, so it looks at the store file only while
    // a followed program runs, and reads it only when another program saved
    // it since (Option links a game without an apply request); it then
    // changes nothing of the store in memory.
    bool WatchesForGames(const RunningPrograms& running = {});
    // Whether a profile links `program` (a file name, in any case) while game
    // profiles are on: the program in front is then followed until it ends.
    bool LinksGame(std::wstring_view program) const;

private:
    struct Held {
        int32_t position = -1;
        std::u16string name;
    };
    struct FileStamp {
        bool exists = false;
        std::filesystem::file_time_type written{};
        uintmax_t size = 0;
        // A time in whole seconds (what the C runtime gives on Windows) cannot
        // tell two saves within the same second apart: a stamp that recent
        // equals no other, so the file is read again until it is older.
        bool settled = true;
        bool operator==(const FileStamp& other) const {
            return settled && other.settled && exists == other.exists && written == other.written &&
                   size == other.size;
        }
    };

    void SaveDeviceChange(const DeviceEventAction& action);
    // Gives the mouse the stored DPI level (with the levels) or polling rate
    // of the current profile, after it chose one the store does not hold.
    void QueueCorrection(bool dpiLevel);
    // Hands the changed parts of the current profile to the worker; false when
    // nothing was queued and Option must be answered at once.
    bool QueueApplyDownload(intptr_t lParam);
    void AnswerApplyNow();
    // Reads the store; the caller holds the lock or could not take it. True
    // when another program made another profile current since the last download.
    bool ReadStore();
    // After every read: each profile's game name, folded, and the file's stamp.
    void NoteStoreRead();
    FileStamp StampOfStore() const;
    // The current profile has neither the position nor the name of the one the
    // mouse holds: another program made it current.
    bool UserChoseAnotherProfile() const;
    // The mouse holds the current profile (or nothing is known of what it holds).
    bool HoldsCurrentProfile() const;
    void NoteHeld();
    bool QueueHeld(std::unique_ptr<DownloadJob> job);
    GameSwitchInput GameInput(std::wstring_view program) const;
    std::u16string HomeName(const GameSwitchStep& step) const;
    bool GameStepChanges(const GameSwitchStep& step) const;
    // Decides on the store in memory for `program` in front and, when
    // something is to change, carries it out under the lock on the store as
    // it is on disk.
    void FollowForeground(std::wstring_view program);
    bool SaveStore(GameKeys games);

    std::filesystem::path storeFile_;
    IMonitorHost& host_;
    ISystemPointer& pointer_;
    IPointerRegistry* registry_ = nullptr;  // not owned
    ISharedLock* lock_ = nullptr;           // not owned
    ProfileStore store_;
    std::wstring foregroundProgram_;
    std::vector<std::wstring> gameNames_;  // per profile, its game's file name folded
    FileStamp stamp_;                      // the store file as last read
    FileStamp watchedStamp_;               // the store file WatchesForGames last looked at
    // The games that file links, folded and sorted (none while game profiles are off).
    std::vector<std::wstring> watchedGames_;
    Held held_;                            // what the mouse was given last
    std::wstring lastOutside_;             // the last program in front that is not one of ours
    std::wstring declined_;                // see GameSwitchInput::declined
};

// The file name of an executable path (after the last '\' or '/').
std::wstring ExecutableFileName(std::wstring_view path);
