// Saves one X11 window's pixels as a PNG: `zanthera-shot WINDOW-ID FILE`. Used to show what the
// program looks like on a machine without a screen, and by the end-to-end tests.
#include <QImage>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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
    XImage* image = XGetImage(display, window, 0, 0, unsigned(attributes.width),
                              unsigned(attributes.height), AllPlanes, ZPixmap);
    if (!image) {
        std::fprintf(stderr, "zanthera-shot: cannot read the window's pixels\n");
        return 1;
    }
    QImage out(attributes.width, attributes.height, QImage::Format_RGB32);
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x)
            out.setPixel(x, y, QRgb(XGetPixel(image, x, y) | 0xFF000000u));
    XDestroyImage(image);
    XCloseDisplay(display);
    if (!out.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "zanthera-shot: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
