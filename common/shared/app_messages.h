#pragma once
// The names and numbers the two programs, the device library and the worker
// agree on: window titles, named mutexes and posted messages. Plain constants,
// no <windows.h>, so portable code can use them too.
#include <cstdint>

inline constexpr wchar_t kMonitorWindowTitle[] = L"7741 Gaming Mouse Monitor";
inline constexpr wchar_t kOptionWindowTitle[] = L"7741 Gaming Mouse Option";

inline constexpr wchar_t kMonitorInstanceMutex[] = L"K416_7741_Gaming_Mouse_Monitor_Mutex";
inline constexpr wchar_t kOptionInstanceMutex[] = L"K417_7741_Gaming_Mouse_Normal_configure";
// The store lock is named in shared_lock.h (kStoreLockName).

inline constexpr uint16_t kVendorId = 0x5A21;
inline constexpr uint16_t kProductId = 0x7C03;

// Received by the Monitor's main window.
inline constexpr unsigned WM_APPLY_ALL_SETTING = 1224;      // 0x4C8, from Option after saving
inline constexpr unsigned WM_APPLY_POINTER_SETTING = 1227;  // 0x4CB
inline constexpr unsigned WM_QUERY_MOUSE = 1228;            // 0x4CC, sent by Option: answers 1 while connected
inline constexpr unsigned WM_SYSTRAY_NOTIFY = 1036;         // 0x40C, from the shell
inline constexpr unsigned WM_DEVICE_EVENT = 1325;           // 0x52D, from devio.dll
inline constexpr unsigned WM_DEVICE_PLUG = 1326;            // 0x52E, from devio.dll: 1 arrival, 0 removal
inline constexpr unsigned ID_OPEN_OPTION = 6001;
inline constexpr unsigned ID_EXIT_MONITOR = 6002;
inline constexpr unsigned ID_GAME_PROFILES = 6003;  // icon menu: automatic game profiles on or off

// Received by Option's main window.
inline constexpr unsigned WM_APPLY_DONE = 1256;       // 0x4E8
inline constexpr unsigned WM_PROFILE_CHANGED = 1257;  // 0x4E9
inline constexpr unsigned WM_MOUSE_STATE = 1258;      // 0x4EA, wParam 1: the mouse arrived

// Inside Option.
inline constexpr unsigned WM_SETTINGS_CHANGED = 1259;  // 0x4EB, posted to the configuration page
inline constexpr unsigned WM_SLIDER_VALUE = 0x446;     // slider value changed
inline constexpr unsigned WM_BUTTON_HOVER = 0x464;     // skinned button hover changed
inline constexpr unsigned WM_KEY_CAPTURED = 0x40A;     // key captured by the keyboard hook

// Thread message of the Monitor's download worker.
inline constexpr unsigned WM_WORKER_DOWNLOAD = 1649;  // 0x671: wParam 1 changed parts + answer, 2 everything
inline constexpr unsigned kDownloadChangedParts = 1;
inline constexpr unsigned kDownloadEverything = 2;

// Timers of the Monitor's main window.
inline constexpr unsigned TIMER_FIRST_DOWNLOAD = 502;  // 200 ms after a successful start-up connection
inline constexpr unsigned TIMER_FOREGROUND_GAME = 500;  // while the mouse is connected, when another window came to the front
