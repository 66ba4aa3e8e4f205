/* Asks a window whether its program still answers its window manager: sends the window
 * manager's ping (_NET_WM_PING) to the window and waits for the program to send it back to
 * the root window. Exits 0 on a reply, 1 when none came within the given seconds, 2 on a
 * usage or display error.
 *   wm_ping WINDOW_ID SECONDS */
#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: wm_ping WINDOW_ID SECONDS\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    const Window window = strtoul(argv[1], NULL, 0);
    const double seconds = atof(argv[2]);
    const Window root = DefaultRootWindow(display);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    /* The reply comes as a client message to the root window. */
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const unsigned long stamp = (unsigned long)(Now() * 1000) & 0x7fffffff;
    XEvent event = {0};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)ping;
    event.xclient.data.l[1] = (long)stamp;
    event.xclient.data.l[2] = (long)window;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);

    const double end = Now() + seconds;
    while (Now() < end) {
        while (XPending(display)) {
            XEvent reply;
            XNextEvent(display, &reply);
            if (reply.type == ClientMessage && reply.xclient.message_type == protocols
                && (Atom)reply.xclient.data.l[0] == ping && (unsigned long)reply.xclient.data.l[1] == stamp)
                return 0;
        }
        struct pollfd wait = {ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, 100);
    }
    return 1;
}
