// The start of the program's windows: the three classes, the hidden magnifier window, the splash,
// the window shapes cut from the shape bitmaps, the stray-ant record and its two windows.
#pragma once

#include <windows.h>

#include "platform/UniqueHandle.h"

class DIBImage;
struct Program;

class ShellStartup {
  public:
    // Builds program's windows (program not owned; it outlives them).
    ShellStartup(Program& program, HINSTANCE instance);
    ~ShellStartup();  // deletes the rim region (after the message loop)
    ShellStartup(const ShellStartup&) = delete;
    ShellStartup& operator=(const ShellStartup&) = delete;

    // Registers the main class and creates the main window, centred and left hidden; its
    // simulation thread reports to the program's reports.
    HWND CreateMainWindow();
    // Registers the splash class, creates the splash and draws the title picture into it once.
    HWND ShowSplash();
    // Gives the main window its magnifier outline and keeps the rim (outline minus lens).
    void CutMagnifierShape();
    // The stray-ant record, placed on the desktop of monitors (read anew and handed to the
    // simulation thread).
    void CreateStrayAnt();
    // Registers the stray-ant class and creates its two hidden windows: the walking ant,
    // colour-keyed, and the heart, cut to its shape.
    void CreateStrayWindows();
    // Frees the picture the shapes were cut from.
    void ReleaseShapeImage();

    HRGN rim() const { return rim_.get(); }

  private:
    DIBImage& ShapeImage(LPCSTR bitmap);

    Program& program_;
    HINSTANCE instance_;
    DIBImage* shapeImage_ = nullptr;  // owned: the picture of the current shape
    UniqueRegion rim_;
};
