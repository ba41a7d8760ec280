// Plays the window manager's part for the desktop smoke test: waits for a
// top-level window of the given title, then asks it to close the way a
// window manager does (WM_DELETE_WINDOW).
//   send-close-request TITLE TIMEOUT_MS
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

bool HasTitle(Display* display, Window window, const std::string& title) {
    char* name = nullptr;
    const bool match = XFetchName(display, window, &name) != 0 && name != nullptr && title == name;
    if (name != nullptr) XFree(name);
    return match;
}

Window FindWindow(Display* display, Window parent, const std::string& title) {
    if (HasTitle(display, parent, title)) return parent;
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, parent, &root, &up, &children, &count) != 0) {
        for (unsigned i = 0; i < count && found == 0; ++i) found = FindWindow(display, children[i], title);
        if (children != nullptr) XFree(children);
    }
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TITLE TIMEOUT_MS\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const std::string title = argv[1];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::stoi(argv[2]));
    Window window = 0;
    while ((window = FindWindow(display, DefaultRootWindow(display), title)) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::printf("found window \"%s\"\n", title.c_str());
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return 0;
}
