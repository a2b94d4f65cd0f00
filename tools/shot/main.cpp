// Saves one X11 window's pixels as a PNG: `zanthera-shot WINDOW-ID FILE`. Used to show what the
// program looks like on a machine without a screen, and by the end-to-end tests.
#include <QImage>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zanthera-shot WINDOW-ID FILE.png\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "zanthera-shot: cannot open the display\n");
        return 1;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        std::fprintf(stderr, "zanthera-shot: no window %s\n", argv[1]);
        return 1;
    }
    // Only the part of a window that lies on the screen has pixels to read; asking for more
    // is an X error that would end this tool. The rest of the picture stays black.
    Window child = 0;
    int screenX = 0, screenY = 0;
    XWindowAttributes root;
    XGetWindowAttributes(display, attributes.root, &root);
    XTranslateCoordinates(display, window, attributes.root, 0, 0, &screenX, &screenY, &child);
    const int left = std::max(0, -screenX), top = std::max(0, -screenY);
    const int right = std::min(attributes.width, root.width - screenX);
    const int bottom = std::min(attributes.height, root.height - screenY);
    QImage out(attributes.width, attributes.height, QImage::Format_RGB32);
    out.fill(Qt::black);
    if (right <= left || bottom <= top) {
        std::fprintf(stderr, "zanthera-shot: window %s is wholly off the screen\n", argv[1]);
        return 1;
    }
    XImage* image = XGetImage(display, window, left, top, unsigned(right - left),
                              unsigned(bottom - top), AllPlanes, ZPixmap);
    if (!image) {
        std::fprintf(stderr, "zanthera-shot: cannot read the window's pixels\n");
        return 1;
    }
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            out.setPixel(x, y, QRgb(XGetPixel(image, x - left, y - top) | 0xFF000000u));
    XDestroyImage(image);
    XCloseDisplay(display);
    if (!out.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "zanthera-shot: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
