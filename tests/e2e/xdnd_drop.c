/* Drops one file on an X window the way a file manager does (XDND version 5), for the end-to-end
 * tests: xdnd_drop WINDOW_ID ROOT_X ROOT_Y /path/to/file
 * Exit status 0 when the target accepted and finished the drop, 1 otherwise. Needs libX11
 * (Debian package libx11-dev to build). */
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/time.h>

static Display* dpy;
static Atom aAware, aEnter, aPosition, aStatus, aDrop, aFinished, aLeave, aSelection, aCopy,
    aUriList;

static void send_client(Window target, Window source, Atom type, long l1, long l2, long l3,
                        long l4) {
    XEvent ev;
    memset(&ev, 0, sizeof(ev));
    ev.xclient.type = ClientMessage;
    ev.xclient.display = dpy;
    ev.xclient.window = target;
    ev.xclient.message_type = type;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)source;
    ev.xclient.data.l[1] = l1;
    ev.xclient.data.l[2] = l2;
    ev.xclient.data.l[3] = l3;
    ev.xclient.data.l[4] = l4;
    XSendEvent(dpy, target, False, NoEventMask, &ev);
    XFlush(dpy);
}

/* The XdndAware window at or above w (Wine marks its top-level windows). */
static Window aware_ancestor(Window w) {
    while (w != 0) {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = NULL;
        if (XGetWindowProperty(dpy, w, aAware, 0, 1, False, AnyPropertyType, &type, &format,
                               &count, &after, &data) == Success &&
            type != None) {
            XFree(data);
            return w;
        }
        if (data) XFree(data);
        Window root, parent, *children = NULL;
        unsigned int n;
        if (!XQueryTree(dpy, w, &root, &parent, &children, &n)) return 0;
        if (children) XFree(children);
        if (parent == root) return 0;
        w = parent;
    }
    return 0;
}

static double now_seconds(void) {
    struct timeval tv;
    gettimeofday(&tv, NULL);
    return tv.tv_sec + tv.tv_usec / 1e6;
}

/* Waits for the next event up to the deadline; 0 on timeout. */
static int next_event(XEvent* ev, double deadline) {
    while (!XPending(dpy)) {
        double left = deadline - now_seconds();
        if (left <= 0) return 0;
        int fd = ConnectionNumber(dpy);
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        struct timeval tv = {(long)left, (long)((left - (long)left) * 1e6)};
        select(fd + 1, &set, NULL, NULL, &tv);
    }
    XNextEvent(dpy, ev);
    return 1;
}

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: %s WINDOW ROOT_X ROOT_Y FILE\n", argv[0]);
        return 2;
    }
    dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "xdnd_drop: no display\n");
        return 1;
    }
    Window given = (Window)strtoul(argv[1], NULL, 0);
    int rx = atoi(argv[2]), ry = atoi(argv[3]);
    char uri[4096];
    snprintf(uri, sizeof(uri), "file://%s\r\n", argv[4]);

    aAware = XInternAtom(dpy, "XdndAware", False);
    aEnter = XInternAtom(dpy, "XdndEnter", False);
    aPosition = XInternAtom(dpy, "XdndPosition", False);
    aStatus = XInternAtom(dpy, "XdndStatus", False);
    aDrop = XInternAtom(dpy, "XdndDrop", False);
    aFinished = XInternAtom(dpy, "XdndFinished", False);
    aLeave = XInternAtom(dpy, "XdndLeave", False);
    aSelection = XInternAtom(dpy, "XdndSelection", False);
    aCopy = XInternAtom(dpy, "XdndActionCopy", False);
    aUriList = XInternAtom(dpy, "text/uri-list", False);

    Window target = aware_ancestor(given);
    if (!target) {
        fprintf(stderr, "xdnd_drop: window 0x%lx is not a drop target\n", given);
        return 1;
    }
    Window source = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(dpy, aSelection, source, CurrentTime);
    XSelectInput(dpy, source, PropertyChangeMask);

    send_client(target, source, aEnter, 5L << 24, (long)aUriList, 0, 0);
    send_client(target, source, aPosition, 0, ((long)rx << 16) | (ry & 0xFFFF), CurrentTime,
                (long)aCopy);

    int accepted = -1, dropped = 0, finished = 0, served = 0;
    double deadline = now_seconds() + 8.0;
    XEvent ev;
    while (!finished && next_event(&ev, deadline)) {
        if (ev.type == SelectionRequest) {
            XSelectionRequestEvent* req = &ev.xselectionrequest;
            XEvent reply;
            memset(&reply, 0, sizeof(reply));
            reply.xselection.type = SelectionNotify;
            reply.xselection.display = dpy;
            reply.xselection.requestor = req->requestor;
            reply.xselection.selection = req->selection;
            reply.xselection.target = req->target;
            reply.xselection.time = req->time;
            reply.xselection.property = None;
            if (req->target == aUriList) {
                Atom property = req->property != None ? req->property : req->target;
                XChangeProperty(dpy, req->requestor, property, req->target, 8, PropModeReplace,
                                (unsigned char*)uri, (int)strlen(uri));
                reply.xselection.property = property;
                ++served;
            }
            XSendEvent(dpy, req->requestor, False, NoEventMask, &reply);
            XFlush(dpy);
        } else if (ev.type == ClientMessage && ev.xclient.message_type == aStatus) {
            accepted = (int)(ev.xclient.data.l[1] & 1);
            if (!accepted) break;
            if (!dropped) {
                send_client(target, source, aDrop, 0, CurrentTime, 0, 0);
                dropped = 1;
            }
        } else if (ev.type == ClientMessage && ev.xclient.message_type == aFinished) {
            finished = 1;
        }
    }
    if (!finished) {
        send_client(target, source, aLeave, 0, 0, 0, 0);
    }
    fprintf(stderr, "xdnd_drop: accepted=%d dropped=%d served=%d finished=%d\n", accepted,
            dropped, served, finished);
    XDestroyWindow(dpy, source);
    XCloseDisplay(dpy);
    return finished && accepted == 1 ? 0 : 1;
}
