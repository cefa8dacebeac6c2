// A small X client for the real-window test: finds the game's windows, takes screenshots of
// them, compares them, and asks a window to close the way a window manager's close button does.
//
//   x11probe wait TITLE TIMEOUT_MS      prints the id of the viewable window with that title
//   x11probe shot WINDOW FILE.ppm       the window's pixels as a binary PPM (WINDOW root: the screen)
//   x11probe pixel FILE.ppm X Y         prints the pixel as RRGGBB
//   x11probe differ A.ppm B.ppm X Y W H [BX BY]
//                                       prints how many pixels of the rectangle differ; with BX BY,
//                                       A's rectangle at (X, Y) is compared with B's at (BX, BY)
//   x11probe count FILE.ppm X Y W H RRGGBB  prints how many pixels of the rectangle have that colour
//   x11probe magnified SMALL.ppm LARGE.ppm SCALE X Y
//                                       prints how many pixels of LARGE, from (X, Y) on, differ
//                                       from SMALL with every pixel made a SCALE × SCALE square
//   x11probe screen-check FOLDER SCREEN.ppm
//                                       compares each window listed in FOLDER/windows.txt ("ID NAME"
//                                       lines, the picture of each in FOLDER/ID.ppm) with where it
//                                       lies in SCREEN.ppm, leaving out what windows above it hide;
//                                       prints which window and rectangle differ, status 1 if any
//   x11probe size WINDOW                prints the window's size as WxH
//   x11probe close WINDOW               sends WM_DELETE_WINDOW

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[3 * (static_cast<std::size_t>(y) * width + x)]; }
};

/// The connection to the X server, closed when the command is done (the leak checker of a
/// sanitized build counts a connection left open).
using DisplayConnection = std::unique_ptr<Display, decltype(&XCloseDisplay)>;

DisplayConnection openDisplay()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x11probe: no display\n");
        std::exit(2);
    }
    return {display, &XCloseDisplay};
}

std::string windowTitle(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return title;
}

Window findWindow(Display* display, Window parent, const std::string& title)
{
    Window root = 0, up = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            windowTitle(display, children[i]) == title)
            found = children[i];
        else
            found = findWindow(display, children[i], title);
    }
    if (children)
        XFree(children);
    return found;
}

int wait(const std::string& title, int timeoutMs)
{
    const DisplayConnection connection = openDisplay();
    Display* display = connection.get();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (Window window = findWindow(display, DefaultRootWindow(display), title)) {
            std::printf("%lu\n", window);
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::fprintf(stderr, "x11probe: no window titled %s\n", title.c_str());
    return 1;
}

int shot(Window window, const char* file)
{
    const DisplayConnection connection = openDisplay();
    Display* display = connection.get();
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return 1;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return 1;
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << attributes.width << ' ' << attributes.height << "\n255\n";
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            const char rgb[3] = {static_cast<char>((p >> 16) & 0xFF), static_cast<char>((p >> 8) & 0xFF),
                                 static_cast<char>(p & 0xFF)};
            out.write(rgb, 3);
        }
    }
    XDestroyImage(image);
    return out ? 0 : 1;
}

Picture readPicture(const char* file)
{
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    Picture picture;
    in >> magic >> picture.width >> picture.height >> maxValue;
    in.get();
    if (magic != "P6" || picture.width <= 0 || picture.height <= 0) {
        std::fprintf(stderr, "x11probe: %s is not a picture of ours\n", file);
        std::exit(2);
    }
    picture.rgb.resize(3 * static_cast<std::size_t>(picture.width) * picture.height);
    in.read(reinterpret_cast<char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
    return picture;
}

int pixel(const char* file, int x, int y)
{
    const Picture picture = readPicture(file);
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height)
        return 1;
    const unsigned char* p = picture.at(x, y);
    std::printf("%02X%02X%02X\n", p[0], p[1], p[2]);
    return 0;
}

int differ(const char* fileA, const char* fileB, int x0, int y0, int w, int h, int bx0, int by0)
{
    const Picture a = readPicture(fileA);
    const Picture b = readPicture(fileB);
    const auto inside = [](const Picture& p, int x, int y) { return x >= 0 && y >= 0 && x < p.width && y < p.height; };
    int count = 0;
    for (int dy = 0; dy < h; ++dy)
        for (int dx = 0; dx < w; ++dx) {
            const int ax = x0 + dx, ay = y0 + dy, bx = bx0 + dx, by = by0 + dy;
            if (!inside(a, ax, ay) || !inside(b, bx, by) || std::memcmp(a.at(ax, ay), b.at(bx, by), 3))
                ++count;
        }
    std::printf("%d\n", count);
    return 0;
}

int count(const char* file, int x0, int y0, int w, int h, const char* colour)
{
    const Picture picture = readPicture(file);
    const unsigned long rgb = std::strtoul(colour, nullptr, 16);
    const unsigned char wanted[3] = {static_cast<unsigned char>(rgb >> 16), static_cast<unsigned char>(rgb >> 8),
                                     static_cast<unsigned char>(rgb)};
    int found = 0;
    for (int y = y0; y < y0 + h && y < picture.height; ++y)
        for (int x = x0; x < x0 + w && x < picture.width; ++x)
            if (x >= 0 && y >= 0 && std::memcmp(picture.at(x, y), wanted, 3) == 0)
                ++found;
    std::printf("%d\n", found);
    return 0;
}

int magnified(const char* smallFile, const char* largeFile, int scale, int x0, int y0)
{
    const Picture small = readPicture(smallFile);
    const Picture large = readPicture(largeFile);
    int count = 0;
    for (int y = 0; y < small.height * scale; ++y)
        for (int x = 0; x < small.width * scale; ++x)
            if (x0 + x >= large.width || y0 + y >= large.height ||
                std::memcmp(small.at(x / scale, y / scale), large.at(x0 + x, y0 + y), 3))
                ++count;
    std::printf("%d\n", count);
    return 0;
}

/// Where a window lies on the screen, and whether it is shown.
struct Placement {
    int x = 0, y = 0, width = 0, height = 0;
    bool viewable = false;
    bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

Placement placement(Display* display, Window window)
{
    Placement where;
    XWindowAttributes attributes;
    Window child = 0;
    if (!XGetWindowAttributes(display, window, &attributes) ||
        !XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &where.x, &where.y, &child))
        return where;
    where.width = attributes.width;
    where.height = attributes.height;
    where.viewable = attributes.map_state == IsViewable;
    return where;
}

int screenCheck(const std::string& folder, const char* screenFile)
{
    const DisplayConnection connection = openDisplay();
    Display* display = connection.get();
    const Picture screen = readPicture(screenFile);
    // The screen's windows from the bottom up.
    Window root = 0, up = 0, *children = nullptr;
    unsigned int childCount = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &up, &children, &childCount);
    const std::vector<Window> stacking(children, children + childCount);
    if (children)
        XFree(children);

    std::ifstream list(folder + "/windows.txt");
    if (!list) {
        std::fprintf(stderr, "x11probe: no %s/windows.txt\n", folder.c_str());
        return 2;
    }
    int differing = 0, listed = 0;
    for (std::string line; std::getline(list, line);) {
        std::istringstream fields(line);
        unsigned long id = 0;
        std::string name;
        fields >> id;
        std::getline(fields >> std::ws, name);
        ++listed;
        const Placement where = placement(display, id);
        const Picture intended = readPicture((folder + "/" + std::to_string(id) + ".ppm").c_str());
        if (!where.viewable || where.width != intended.width || where.height != intended.height) {
            std::printf("%s: %s on the screen, %dx%d, but means to show %dx%d\n", name.c_str(),
                        where.viewable ? "shown" : "not shown", where.width, where.height, intended.width,
                        intended.height);
            ++differing;
            continue;
        }
        std::vector<Placement> above;
        bool passed = false;
        for (Window other : stacking) {
            if (passed) {
                const Placement cover = placement(display, other);
                if (cover.viewable)
                    above.push_back(cover);
            }
            passed = passed || other == id;
        }
        int count = 0, left = where.width, top = where.height, right = -1, bottom = -1;
        for (int y = 0; y < where.height; ++y)
            for (int x = 0; x < where.width; ++x) {
                const int sx = where.x + x, sy = where.y + y;
                if (sx < 0 || sy < 0 || sx >= screen.width || sy >= screen.height)
                    continue;
                bool hidden = false;
                for (const Placement& cover : above)
                    hidden = hidden || cover.contains(sx, sy);
                if (hidden || std::memcmp(screen.at(sx, sy), intended.at(x, y), 3) == 0)
                    continue;
                ++count;
                left = std::min(left, x), top = std::min(top, y);
                right = std::max(right, x), bottom = std::max(bottom, y);
            }
        if (count > 0) {
            std::printf("%s: %d pixels differ from what it means to show, in %d,%d %dx%d of the window "
                        "(on the screen at %d,%d)\n",
                        name.c_str(), count, left, top, right - left + 1, bottom - top + 1, where.x + left,
                        where.y + top);
            ++differing;
        }
    }
    if (listed == 0) {
        std::printf("no window listed\n");
        return 1;
    }
    return differing == 0 ? 0 : 1;
}

int size(Window window)
{
    const DisplayConnection connection = openDisplay();
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(connection.get(), window, &attributes))
        return 1;
    std::printf("%dx%d\n", attributes.width, attributes.height);
    return 0;
}

int close(Window window)
{
    const DisplayConnection connection = openDisplay();
    Display* display = connection.get();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait" && argc == 4)
        return wait(argv[2], std::atoi(argv[3]));
    if (command == "shot" && argc == 4 && std::string(argv[2]) == "root") {
        const DisplayConnection connection = openDisplay();
        return shot(DefaultRootWindow(connection.get()), argv[3]);
    }
    if (command == "shot" && argc == 4)
        return shot(std::strtoul(argv[2], nullptr, 0), argv[3]);
    if (command == "screen-check" && argc == 4)
        return screenCheck(argv[2], argv[3]);
    if (command == "pixel" && argc == 5)
        return pixel(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (command == "differ" && (argc == 8 || argc == 10)) {
        const int x = std::atoi(argv[4]), y = std::atoi(argv[5]);
        return differ(argv[2], argv[3], x, y, std::atoi(argv[6]), std::atoi(argv[7]), argc == 10 ? std::atoi(argv[8]) : x,
                      argc == 10 ? std::atoi(argv[9]) : y);
    }
    if (command == "count" && argc == 8)
        return count(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]), argv[7]);
    if (command == "magnified" && argc == 7)
        return magnified(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
    if (command == "size" && argc == 3)
        return size(std::strtoul(argv[2], nullptr, 0));
    if (command == "close" && argc == 3)
        return close(std::strtoul(argv[2], nullptr, 0));
    std::fprintf(stderr, "usage: x11probe wait|shot|pixel|differ|count|magnified|screen-check|size|close ...\n");
    return 2;
}
