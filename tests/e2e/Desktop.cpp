#include "Desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace zanthera::e2e {

namespace {

// Every X call goes through its own connection, so a failure in one test never leaves another
// with a broken one.
struct Connection {
    explicit Connection(const QString& display) : d(XOpenDisplay(display.toLocal8Bit().data())) {
        // Windows come and go while the tree is walked (Wine makes short-lived ones): a request
        // on one that has gone fails, and the walk simply skips it.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~Connection() {
        if (d)
            XCloseDisplay(d);
    }
    Display* d;
};

bool titleIs(Display* d, Window w, const QString& title) {
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool same = false;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        same = QString::fromUtf8(reinterpret_cast<char*>(data), int(count)) == title;
        XFree(data);
    }
    return same;
}

std::optional<Window> findMapped(Display* d, const QString& title) {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count))
        return std::nullopt;
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable &&
            titleIs(d, children[i], title))
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

QString programPath() {
    return QStringLiteral(ZANTHERA_PROGRAM);
}

VirtualDisplay::VirtualDisplay(const QString& screen) {
    server_.start("Xvfb",
                  {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-dpi", "96"});
    if (!server_.waitForStarted(5000))
        return;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && !server_.canReadLine())
        server_.waitForReadyRead(100);
    const QString number = QString::fromLatin1(server_.readLine()).trimmed();
    if (!number.isEmpty())
        name_ = ":" + number;
}

VirtualDisplay::~VirtualDisplay() {
    server_.terminate();
    if (!server_.waitForFinished(3000))
        server_.kill();
    server_.waitForFinished(3000);
}

RunningProgram::RunningProgram(const VirtualDisplay& display, QProcessEnvironment environment,
                               const QString& program, const QStringList& arguments)
    : display_(display.name()) {
    environment.insert("DISPLAY", display_);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program_.setProcessEnvironment(environment);
    program_.start(program, arguments);
    program_.waitForStarted(5000);
}

RunningProgram::~RunningProgram() {
    if (program_.state() != QProcess::NotRunning) {
        program_.kill();
        program_.waitForFinished(3000);
    }
}

std::optional<unsigned long> RunningProgram::waitForWindow(const QString& title,
                                                           std::chrono::milliseconds limit) {
    Connection x(display_);
    if (!x.d)
        return std::nullopt;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < limit.count()) {
        if (auto w = findMapped(x.d, title)) {
            // Mapped is not yet painted: give the first paint a moment to land.
            QThread::msleep(300);
            return *w;
        }
        QThread::msleep(50);
    }
    return std::nullopt;
}

bool RunningProgram::windowGone(const QString& title, std::chrono::milliseconds limit) const {
    Connection x(display_);
    QElapsedTimer clock;
    clock.start();
    while (x.d && findMapped(x.d, title) && clock.elapsed() < limit.count())
        QThread::msleep(50);
    return x.d && !findMapped(x.d, title);
}

QString RunningProgram::run(const QStringList& arguments) const {
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    tool.setProcessEnvironment(env);
    tool.start(arguments.front(), arguments.mid(1));
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

void RunningProgram::click(unsigned long window, int x, int y) {
    const QString id = QString::number(window);
    run({"xdotool", "mousemove", "--sync", "--window", id, QString::number(x), QString::number(y),
         "click", "1"});
    QThread::msleep(150);
}

void RunningProgram::key(unsigned long window, const QString& keys) {
    const QString id = QString::number(window);
    run({"xdotool", "windowfocus", "--sync", id});
    run({"xdotool", "key", "--clearmodifiers", keys});
    QThread::msleep(150);
}

QString RunningProgram::clipboard() const {
    return run({"xclip", "-selection", "clipboard", "-o"});
}

QImage RunningProgram::grab(unsigned long window) const {
    Connection x(display_);
    XWindowAttributes a;
    if (!x.d || !XGetWindowAttributes(x.d, window, &a))
        return {};
    XImage* image =
        XGetImage(x.d, window, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
    if (!image)
        return {};
    QImage out(a.width, a.height, QImage::Format_RGB32);
    for (int row = 0; row < a.height; ++row)
        for (int col = 0; col < a.width; ++col)
            out.setPixel(col, row, QRgb(XGetPixel(image, col, row) | 0xFF000000u));
    XDestroyImage(image);
    return out;
}

QRect RunningProgram::placeOf(unsigned long window) const {
    Connection x(display_);
    XWindowAttributes a;
    Window child = 0;
    int left = 0, top = 0;
    if (!x.d || !XGetWindowAttributes(x.d, window, &a) ||
        !XTranslateCoordinates(x.d, window, a.root, 0, 0, &left, &top, &child))
        return {};
    return {left, top, a.width, a.height};
}

std::vector<QSize> RunningProgram::iconSizes(unsigned long window) const {
    Connection x(display_);
    std::vector<QSize> sizes;
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    if (!x.d ||
        XGetWindowProperty(x.d, window, XInternAtom(x.d, "_NET_WM_ICON", False), 0, 1 << 20, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) != Success ||
        !data)
        return sizes;
    // The property is a run of images, each its width and height followed by its pixels.
    const auto* values = reinterpret_cast<const unsigned long*>(data);
    for (unsigned long i = 0; i + 2 <= count;) {
        const unsigned long w = values[i], h = values[i + 1];
        sizes.emplace_back(int(w), int(h));
        i += 2 + w * h;
    }
    XFree(data);
    return sizes;
}

void RunningProgram::requestClose(unsigned long window) const {
    Connection x(display_);
    if (!x.d)
        return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(x.d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(x.d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x.d, window, False, NoEventMask, &event);
    XFlush(x.d);
}

bool RunningProgram::childrenReaped(std::chrono::milliseconds limit) const {
    const QString parent = QString::number(program_.processId());
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        bool zombie = false;
        // /proc/N/stat: "N (name) S PPID ...", the name possibly holding spaces or brackets.
        for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
            QFile stat("/proc/" + pid + "/stat");
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QString line = QString::fromLatin1(stat.readAll());
            const QStringList fields = line.mid(line.lastIndexOf(u')') + 2).split(u' ');
            zombie |= fields.size() > 1 && fields[0] == "Z" && fields[1] == parent;
        }
        if (!zombie || clock.elapsed() > limit.count())
            return !zombie;
        QThread::msleep(50);
    }
}

std::optional<int> RunningProgram::waitForExit(std::chrono::milliseconds limit) {
    if (program_.state() != QProcess::NotRunning && !program_.waitForFinished(int(limit.count())))
        return std::nullopt;
    if (program_.exitStatus() != QProcess::NormalExit)
        return -1;
    return program_.exitCode();
}

QString RunningProgram::errors() {
    return QString::fromUtf8(program_.readAllStandardError());
}

} // namespace zanthera::e2e
