// Small X11 requests the end-to-end scripts wait on instead of sleeping.
//
//   x11_input pointer-free SECONDS
//       Waits until no client holds the pointer grabbed. The window manager keeps a click
//       on a window it is focusing for a moment; a click sent meanwhile goes to it and not
//       to the program. Exits 1 when the pointer is still held after SECONDS.
//   x11_input keyboard-free SECONDS
//       The same for the keyboard (a popup menu holds it while it is open).
//   x11_input bind TEXT
//       Prints the key codes that type TEXT, one per character, with no modifier held: a
//       character no key types that way gets a spare key of its own (on all its levels).
//       The keys are then pressed by their codes, and the keyboard map stays as it is while
//       they go out. (xdotool's own typing rebinds a spare key for each missing letter and
//       binds it back; a busy program that reads a key after the map changed again sees
//       another letter, or none.)
//   x11_input no-repeat
//       Turns the keyboard's auto-repeat off. A key whose release comes late (the sender
//       was kept off the processor for a moment) would otherwise type its letter twice.
//   x11_input clear-clipboard
//       Leaves the clipboard without an owner, so that a copy that did not happen reads
//       back empty instead of as the text copied before.
//   x11_input close WINDOW
//       Asks the window manager to close a window (_NET_CLOSE_WINDOW, as a taskbar does);
//       it then sends the window WM_DELETE_WINDOW, as for its close button or Alt+F4.
//   x11_input sync WINDOW SECONDS
//       A round trip through the program's event loop: a _NET_WM_PING to the window and
//       its answer, three times over, so that every event sent before has been handled and
//       what it changed has been drawn. Exits 1 when the program did not answer within SECONDS.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point Deadline(const char* seconds)
{
    return Clock::now() + std::chrono::milliseconds(static_cast<long>(std::atof(seconds) * 1000));
}

// Waits until a grab of the given kind succeeds for this client, then lets it go at once.
int WaitFree(Display* display, bool pointer, Clock::time_point deadline)
{
    const Window root = DefaultRootWindow(display);
    for (;;) {
        const int result = pointer
            ? XGrabPointer(display, root, False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime)
            : XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        if (result == GrabSuccess) {
            if (pointer)
                XUngrabPointer(display, CurrentTime);
            else
                XUngrabKeyboard(display, CurrentTime);
            XSync(display, False);
            return 0;
        }
        if (Clock::now() > deadline) {
            std::fprintf(stderr, "the %s is still held by another client\n", pointer ? "pointer" : "keyboard");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Decodes UTF-8 into code points; malformed bytes are taken as Latin-1.
std::vector<unsigned> CodePoints(const std::string& text)
{
    std::vector<unsigned> points;
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        if (i + extra >= text.size() + (extra ? 0 : 1))
            extra = 0;
        unsigned point = extra ? byte & (0x3F >> extra) : byte;
        for (int k = 1; k <= extra; ++k)
            point = point << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        points.push_back(point);
        i += extra + 1;
    }
    return points;
}

// The keysym X11 gives a Unicode character: Latin-1 as is, others through keysym names
// like "Cyrillic_ef" or the generic 0x1000000 + code point.
KeySym KeysymOf(unsigned point)
{
    if (point == '\n')
        return XStringToKeysym("Return");
    if ((point >= 0x20 && point < 0x7F) || (point >= 0xA0 && point <= 0xFF))
        return point;
    char name[16];
    std::snprintf(name, sizeof name, "U%04X", point);
    const KeySym keysym = XStringToKeysym(name);
    return keysym != NoSymbol ? keysym : 0x1000000 + point;
}

// Prints the key code that types each character of the text with no modifier, one per
// character, binding a spare key (on all its levels) to every character that no key types
// that way yet.
int Bind(Display* display, const std::string& text)
{
    int low, high, perCode;
    XDisplayKeycodes(display, &low, &high);
    KeySym* map = XGetKeyboardMapping(display, low, high - low + 1, &perCode);
    std::map<KeySym, int> plain; // keysym -> the key that types it without a modifier
    std::vector<int> spare;
    for (int code = low; code <= high; ++code) {
        bool empty = true;
        for (int level = 0; level < perCode; ++level)
            empty = empty && map[(code - low) * perCode + level] == NoSymbol;
        const KeySym first = map[(code - low) * perCode];
        if (first != NoSymbol && !plain.count(first))
            plain[first] = code;
        if (empty)
            spare.push_back(code);
    }
    XFree(map);
    std::string codes;
    for (unsigned point : CodePoints(text)) {
        const KeySym keysym = KeysymOf(point);
        if (!plain.count(keysym)) {
            if (spare.empty()) {
                std::fprintf(stderr, "no spare key left for U+%04X\n", point);
                return 1;
            }
            std::vector<KeySym> levels(perCode, keysym);
            XChangeKeyboardMapping(display, spare.back(), perCode, levels.data(), 1);
            plain[keysym] = spare.back();
            spare.pop_back();
        }
        codes += (codes.empty() ? "" : " ") + std::to_string(plain[keysym]);
    }
    XSync(display, False);
    std::printf("%s\n", codes.c_str());
    return 0;
}

// A client message of the given type about a window, its data left for the caller.
XEvent ClientMessageAbout(Display* display, Window window, const char* type)
{
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    return event;
}

bool windowGone = false;

int NoteGoneWindow(Display*, XErrorEvent* error)
{
    if (error->error_code == BadWindow)
        windowGone = true;
    return 0;
}

int Sync(Display* display, Window window, Clock::time_point deadline)
{
    XSetErrorHandler(NoteGoneWindow);
    const Window root = DefaultRootWindow(display);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    XSelectInput(display, root, SubstructureNotifyMask | StructureNotifyMask);
    for (long round = 1; round <= 3; ++round) {
        const long stamp = static_cast<long>(Clock::now().time_since_epoch().count() & 0x7FFFFFFF) + round;
        XEvent event = ClientMessageAbout(display, window, "WM_PROTOCOLS");
        event.xclient.data.l[0] = static_cast<long>(ping);
        event.xclient.data.l[1] = stamp;
        event.xclient.data.l[2] = static_cast<long>(window);
        XSendEvent(display, window, False, NoEventMask, &event);
        XSync(display, False);
        if (windowGone) {
            std::fprintf(stderr, "window 0x%lx is gone\n", window);
            return 1;
        }
        for (bool answered = false; !answered;) {
            while (!answered && XPending(display)) {
                XNextEvent(display, &event);
                answered = event.type == ClientMessage && event.xclient.message_type == protocols
                    && static_cast<Atom>(event.xclient.data.l[0]) == ping && event.xclient.data.l[1] == stamp;
            }
            if (answered)
                break;
            if (Clock::now() > deadline) {
                std::fprintf(stderr, "window 0x%lx did not answer a ping\n", window);
                return 1;
            }
            pollfd wait = {ConnectionNumber(display), POLLIN, 0};
            poll(&wait, 1, 10);
        }
    }
    return 0;
}

int NoRepeat(Display* display)
{
    XKeyboardControl control;
    control.auto_repeat_mode = AutoRepeatModeOff;
    XChangeKeyboardControl(display, KBAutoRepeatMode, &control);
    XSync(display, False);
    return 0;
}

// Sends the root window a _NET_CLOSE_WINDOW request for the window, from a pager or
// taskbar (source 2), which the window manager carries out at once.
int Close(Display* display, Window window)
{
    XEvent event = ClientMessageAbout(display, window, "_NET_CLOSE_WINDOW");
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = 2;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    // The connection is closed on every path: a leak checker would otherwise turn a
    // helper built with sanitizers into one that always fails.
    int result = 2;
    if ((command == "pointer-free" || command == "keyboard-free") && argc == 3)
        result = WaitFree(display, command == "pointer-free", Deadline(argv[2]));
    else if (command == "bind" && argc == 3)
        result = Bind(display, argv[2]);
    else if (command == "no-repeat" && argc == 2)
        result = NoRepeat(display);
    else if (command == "clear-clipboard" && argc == 2) {
        XSetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False), None, CurrentTime);
        XSync(display, False);
        result = 0;
    } else if (command == "close" && argc == 3)
        result = Close(display, std::strtoul(argv[2], nullptr, 0));
    else if (command == "sync" && argc == 4)
        result = Sync(display, std::strtoul(argv[2], nullptr, 0), Deadline(argv[3]));
    else
        std::fprintf(stderr, "usage: x11_input pointer-free|keyboard-free SECONDS | bind TEXT | no-repeat"
                             " | clear-clipboard | close WINDOW | sync WINDOW SECONDS\n");
    XCloseDisplay(display);
    return result;
}
