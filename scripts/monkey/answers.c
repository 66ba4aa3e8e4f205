/* Tells whether a program still handles its windows' events: sends each window a Shift key
 * press carrying a unique time stamp and waits for the program to record that time as one
 * window's last user time (_NET_WM_USER_TIME, which Qt sets from every key press it handles,
 * on the window named by _NET_WM_USER_TIME_WINDOW when there is one). The window
 * manager's own ping cannot be used from here: its answer goes to the window manager
 * alone. A window that a modal box blocks may leave its key unhandled, so the box is
 * asked too. Exits 0 when the program answered, 1 when it did not within the given
 * seconds, 2 on a usage or display error.
 *   answers SECONDS WINDOW_ID... */
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
    enum { MaxWindows = 32 };
    if (argc < 3 || argc - 2 > MaxWindows) {
        fprintf(stderr, "usage: answers SECONDS WINDOW_ID...\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    XSetErrorHandler(Ignore); /* a window may go away meanwhile */
    const double seconds = atof(argv[1]);
    const int count = argc - 2;
    const Atom userTime = XInternAtom(display, "_NET_WM_USER_TIME", False);
    const Atom timeWindowAtom = XInternAtom(display, "_NET_WM_USER_TIME_WINDOW", False);
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    Window timeWindows[MaxWindows];
    Time stamps[MaxWindows];
    for (int i = 0; i < count; ++i) {
        const Window window = strtoul(argv[i + 2], NULL, 0);
        timeWindows[i] = Cardinal(display, window, timeWindowAtom, XA_WINDOW);
        if (!timeWindows[i])
            timeWindows[i] = window;
        /* A time stamp the program has not seen: past the latest it recorded. */
        stamps[i] = Cardinal(display, timeWindows[i], userTime, XA_CARDINAL) + 1 + (Time)(Now() * 10) % 1000 + i;
        SendKey(display, window, KeyPress, shift, stamps[i], DefaultRootWindow(display));
        SendKey(display, window, KeyRelease, shift, stamps[i], DefaultRootWindow(display));
    }
    XFlush(display);

    const double end = Now() + seconds;
    while (Now() < end) {
        for (int i = 0; i < count; ++i)
            if (Cardinal(display, timeWindows[i], userTime, XA_CARDINAL) == stamps[i])
                return 0;
        struct pollfd wait = {ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, 100);
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
    }
    return 1;
}
