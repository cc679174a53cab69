// The program's icon in the notification area: its only presence outside the magnifier. A left
// press shows or hides the window, a right press opens the context menu.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "platform/UniqueHandle.h"

struct MainWindowState;
struct Program;

class TrayIcon {
  public:
    TrayIcon(HWND window, HINSTANCE instance);
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    BOOL Add();     // NIM_ADD; also after the taskbar has restarted and lost its icons
    BOOL Remove();  // NIM_DELETE
    const NOTIFYICONDATAW& Data() const { return data_; }

  private:
    UniqueIcon icon_;  // the 16 x 16 icon 111
    NOTIFYICONDATAW data_{};
};

// Creates the program's one tray icon for its app window and adds it; WM_DESTROY removes it.
void AddTrayIcon(Program& program);
// WM_TRAYNOTIFY: wParam the icon id, lParam the mouse message. The caller then passes the
// message on to DefWindowProcA.
void HandleTrayNotify(Program& program, HWND window, WPARAM iconId, LPARAM mouseMessage);
// Shows the magnifier with its remembered z-order, raised and with the focus, and records it
// shown: what a left press on the icon does to a hidden magnifier.
void ShowMagnifier(MainWindowState& state, HWND window);
// How the icon's menu is opened: at the pointer, above it (bottom-aligned) and to the side the
// system drops menus (SM_MENUDROPALIGNMENT), as the notification area's menus are.
UINT TrayMenuFlags();
