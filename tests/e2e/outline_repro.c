/* Why screenshots show black outside a shaped Wine window: a light backdrop window and a shaped
   window (plain Xlib, no Wine) made with the default colormap or with a colormap of its own. */
/* Usage: outline_repro backdrop            a light full-screen window at the bottom, until killed
          outline_repro shaped default|own  a 300 x 360 window at (500, 100) whose shape leaves a
                                            20-pixel frame out, for 4 seconds
   Wine gives every window a colormap of its own. With one, `xwd -root` shows black where the
   shape leaves the window out, while the screen (Xvfb's -fbdir frame buffer, or one GetImage of
   the root as `import -window root` does) shows the backdrop there: xwd composes its picture
   window by window when colormaps differ and fills the left-out parts with black.
   Build: cc -o outline_repro outline_repro.c -lX11 -lXext */
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv) {
    Display* d = XOpenDisplay(NULL);
    if (d == NULL || argc < 2) {
        fprintf(stderr, "usage: outline_repro backdrop | shaped default|own\n");
        return 2;
    }
    int s = DefaultScreen(d);
    XSetWindowAttributes a;
    memset(&a, 0, sizeof(a));
    a.override_redirect = True;
    if (strcmp(argv[1], "backdrop") == 0) {
        a.background_pixel = 0xd8d0c0;
        Window w = XCreateWindow(d, RootWindow(d, s), 0, 0, DisplayWidth(d, s), DisplayHeight(d, s),
                                 0, CopyFromParent, InputOutput, CopyFromParent,
                                 CWOverrideRedirect | CWBackPixel, &a);
        XMapWindow(d, w);
        XLowerWindow(d, w);
        XFlush(d);
        for (;;) {
            pause();
        }
    }
    unsigned long mask = CWOverrideRedirect | CWBackPixmap;
    a.background_pixmap = None;
    if (argc > 2 && strcmp(argv[2], "own") == 0) {
        a.colormap = XCreateColormap(d, RootWindow(d, s), DefaultVisual(d, s), AllocNone);
        mask |= CWColormap;
    }
    Window w = XCreateWindow(d, RootWindow(d, s), 500, 100, 300, 360, 0, CopyFromParent,
                             InputOutput, CopyFromParent, mask, &a);
    XRectangle inside = {20, 20, 260, 320};
    XMapWindow(d, w);
    XSync(d, False);
    GC gc = XCreateGC(d, w, 0, NULL);
    XSetForeground(d, gc, 0xc81e1e);
    XFillRectangle(d, w, gc, 0, 0, 300, 360);
    XShapeCombineRectangles(d, w, ShapeBounding, 0, 0, &inside, 1, ShapeSet, Unsorted);
    XFlush(d);
    sleep(4);
    return 0;
}
