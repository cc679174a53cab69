/* A light-coloured desktop for the end-to-end tests: one full-screen window kept below every other,
 * so that a black rectangle drawn by the program stands out in a screenshot. backdrop RRGGBB
 * Runs until killed. Needs libX11 (Debian package libx11-dev to build). */
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdio.h>
#include <stdlib.h>
#include <sys/select.h>

int main(int argc, char** argv) {
    Display* dpy = XOpenDisplay(NULL);
    if (dpy == NULL) {
        fprintf(stderr, "backdrop: no display\n");
        return 1;
    }
    unsigned long rgb = argc > 1 ? strtoul(argv[1], NULL, 16) : 0xd8d0c0;
    int screen = DefaultScreen(dpy);
    Window root = RootWindow(dpy, screen);
    XSetWindowAttributes attrs;
    /* Override-redirect: nothing manages or decorates it; the pixel value equals the RGB value on
     * the 24-bit TrueColor visual that Xvfb gives. */
    attrs.override_redirect = True;
    attrs.background_pixel = rgb;
    Window w = XCreateWindow(dpy, root, 0, 0, (unsigned)DisplayWidth(dpy, screen),
                             (unsigned)DisplayHeight(dpy, screen), 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWOverrideRedirect | CWBackPixel, &attrs);
    XClassHint hint = {"backdrop", "backdrop"};
    XSetClassHint(dpy, w, &hint);
    XStoreName(dpy, w, "backdrop");
    /* Watch the root's children: whenever one is mapped or restacked, sink below it again. */
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XMapWindow(dpy, w);
    XLowerWindow(dpy, w);
    XFlush(dpy);
    printf("%lu\n", (unsigned long)w);
    fflush(stdout);
    for (;;) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == MapNotify || ev.type == ConfigureNotify || ev.type == CreateNotify) {
            Window subject = ev.type == MapNotify         ? ev.xmap.window
                             : ev.type == ConfigureNotify ? ev.xconfigure.window
                                                          : ev.xcreatewindow.window;
            if (subject != w) {
                XLowerWindow(dpy, w);
                XFlush(dpy);
            }
        }
    }
}
