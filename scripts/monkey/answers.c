/* Tells whether a program still handles its window's events: sends the window a Shift key
 * press carrying a unique time stamp and waits for the program to record that time as its
 * window's last user time (_NET_WM_USER_TIME, which Qt sets from every key press it handles,
 * on the window named by _NET_WM_USER_TIME_WINDOW when there is one). The window
 * manager's own ping cannot be used from here: its answer goes to the window manager
 * alone. Exits 0 when the program answered, 1 when it did not within the given seconds,
 * 2 on a usage or display error.
 *   answers WINDOW_ID SECONDS */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double Now(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

/* The window's one-number property, or 0 when it has none. */
static unsigned long Cardinal(Display* display, Window window, Atom property, Atom type)
{
    Atom actual;
    int format;
    unsigned long items, after, value = 0;
    unsigned char* data = NULL;
    if (XGetWindowProperty(display, window, property, 0, 1, False, type, &actual, &format, &items, &after, &data)
            == Success
        && data && items == 1 && format == 32)
        value = *(unsigned long*)data;
    if (data)
        XFree(data);
    return value;
}

static int Ignore(Display* display, XErrorEvent* error)
{
    (void)display;
    (void)error;
    return 0;
}

static void SendKey(Display* display, Window window, int type, KeyCode code, Time stamp, Window root)
{
    XEvent event = {0};
    event.xkey.type = type;
    event.xkey.display = display;
    event.xkey.window = window;
    event.xkey.root = root;
    event.xkey.time = stamp;
    event.xkey.same_screen = True;
    event.xkey.keycode = code;
    event.xkey.state = type == KeyRelease ? ShiftMask : 0;
    XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: answers WINDOW_ID SECONDS\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    XSetErrorHandler(Ignore); /* the window may go away meanwhile */
    const Window window = strtoul(argv[1], NULL, 0);
    const double seconds = atof(argv[2]);
    const Atom userTime = XInternAtom(display, "_NET_WM_USER_TIME", False);
    Window timeWindow = Cardinal(display, window, XInternAtom(display, "_NET_WM_USER_TIME_WINDOW", False), XA_WINDOW);
    if (!timeWindow)
        timeWindow = window;
    XSelectInput(display, timeWindow, PropertyChangeMask);

    /* A time stamp the program has not seen: one past the latest it recorded. */
    const Time stamp = Cardinal(display, timeWindow, userTime, XA_CARDINAL) + 1 + (Time)(Now() * 10) % 1000;
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    SendKey(display, window, KeyPress, shift, stamp, DefaultRootWindow(display));
    SendKey(display, window, KeyRelease, shift, stamp, DefaultRootWindow(display));
    XFlush(display);

    const double end = Now() + seconds;
    while (Now() < end) {
        if (Cardinal(display, timeWindow, userTime, XA_CARDINAL) == stamp)
            return 0;
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
        struct pollfd wait = {ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, 100);
    }
    return 1;
}
