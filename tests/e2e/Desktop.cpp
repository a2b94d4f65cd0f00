#include "Desktop.h"

#include "Form1/ControlTable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xlib.h>

#include <algorithm>

namespace zanthera::e2e {

namespace {

// How long a click or a key press is given to take effect. The 32-bit Windows program, run through
// qemu by make test-win32, answers many times more slowly; that run sets ZANTHERA_WINE_PATIENCE.
const unsigned long settleMs =
    150ul * unsigned(std::max(1, qEnvironmentVariableIntValue("ZANTHERA_WINE_PATIENCE")));

// Every X call goes through its own connection, so a failure in one test never leaves another
// with a broken one.
struct Connection {
    explicit Connection(const QString& display) : d(XOpenDisplay(display.toLocal8Bit().data())) {
        // Windows come and go (Wine makes short-lived ones): a request on one that has gone
        // fails, and the call gives nothing instead of ending the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~Connection() {
        if (d)
            XCloseDisplay(d);
    }
    Display* d;
};

// The shown top-level window with this exact title (_NET_WM_NAME), if there is one.
std::optional<Window> findShown(const Connection& x, const QString& title) {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!x.d || !XQueryTree(x.d, DefaultRootWindow(x.d), &root, &parent, &children, &count))
        return std::nullopt;
    const Atom name = XInternAtom(x.d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(x.d, "UTF8_STRING", False);
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        Atom type;
        int format;
        unsigned long length, after;
        unsigned char* data = nullptr;
        if (XGetWindowAttributes(x.d, children[i], &a) && a.map_state == IsViewable &&
            XGetWindowProperty(x.d, children[i], name, 0, 1024, False, utf8, &type, &format,
                               &length, &after, &data) == Success &&
            data && QString::fromUtf8(reinterpret_cast<char*>(data), int(length)) == title)
            found = children[i];
        if (data)
            XFree(data);
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

VirtualDisplay::VirtualDisplay(const QString& screen) {
    // Other sessions on this machine may run X servers whose processes this one cannot see, so
    // that their lock files look stale from here and a server started on the lowest free number
    // could take over theirs: numbers whose socket or lock file exists are left alone, and they
    // are tried from a random start well above the ones usually taken.
    const int first = 200 + int(QRandomGenerator::global()->bounded(700));
    for (int n = first; n < first + 50 && name_.isEmpty(); ++n) {
        if (QFile::exists(QString("/tmp/.X11-unix/X%1").arg(n)) ||
            QFile::exists(QString("/tmp/.X%1-lock").arg(n)))
            continue;
        server_.start("Xvfb", {":" + QString::number(n), "-displayfd", "1", "-screen", "0", screen,
                               "-nolisten", "tcp", "-dpi", "96"});
        QElapsedTimer clock;
        clock.start();
        while (server_.waitForStarted(5000) && !server_.canReadLine() &&
               server_.state() == QProcess::Running && clock.elapsed() < 10000)
            server_.waitForReadyRead(100);
        if (server_.canReadLine()) {
            name_ = ":" + QString::fromLatin1(server_.readLine()).trimmed();
        } else {
            server_.kill();
            server_.waitForFinished(3000);
        }
    }
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
    QElapsedTimer clock;
    clock.start();
    do {
        if (const auto w = findShown(x, title)) {
            // Mapped is not yet painted: give the first paint a moment to land.
            QThread::msleep(300);
            return w;
        }
        QThread::msleep(50);
    } while (clock.elapsed() < limit.count());
    return std::nullopt;
}

bool RunningProgram::windowGone(const QString& title, std::chrono::milliseconds limit) const {
    Connection x(display_);
    QElapsedTimer clock;
    clock.start();
    while (findShown(x, title) && clock.elapsed() < limit.count())
        QThread::msleep(50);
    return x.d && !findShown(x, title);
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

void RunningProgram::click(unsigned long window, std::string_view control, double scale) {
    const Extents& e = design::findControl(control)->extents;
    const QPoint at = QPoint((e.left + e.width / 2) / 15, (e.top + e.height / 2) / 15) * scale;
    run({"xdotool", "mousemove", "--sync", "--window", QString::number(window),
         QString::number(at.x()), QString::number(at.y()), "click", "1"});
    QThread::msleep(settleMs);
}

void RunningProgram::key(unsigned long window, const QString& keys) {
    run({"xdotool", "windowfocus", "--sync", QString::number(window)});
    run({"xdotool", "key", "--clearmodifiers", keys});
    QThread::msleep(settleMs);
}

QString RunningProgram::clipboard() const {
    return run({"xclip", "-selection", "clipboard", "-o"});
}

QString RunningProgram::resultBoxText(unsigned long window, double scale) {
    click(window, "Text1", scale);
    key(window, "ctrl+a");
    key(window, "ctrl+c");
    return clipboard();
}

QImage RunningProgram::grab(unsigned long window) const {
    // Through the screenshot tool of `make run`, which reads the window's pixels from X.
    QTemporaryDir dir;
    run({ZANTHERA_SHOT_PROGRAM, QString::number(window), dir.filePath("shot.png")});
    return QImage(dir.filePath("shot.png")).convertToFormat(QImage::Format_RGB32);
}

QRect RunningProgram::placeOf(unsigned long window) const {
    // X=, Y=, WIDTH=, HEIGHT= lines, the place relative to the screen.
    QMap<QString, int> g;
    for (const QString& line :
         run({"xdotool", "getwindowgeometry", "--shell", QString::number(window)}).split('\n'))
        g[line.section('=', 0, 0)] = line.section('=', 1).toInt();
    return {g["X"], g["Y"], g["WIDTH"], g["HEIGHT"]};
}

QStringList RunningProgram::iconSizes(unsigned long window) const {
    // xprop shows each image of the property as "Icon (W x H):" and its pixels drawn in text.
    const QString icons = run({"xprop", "-id", QString::number(window), "_NET_WM_ICON"});
    QStringList sizes;
    for (const auto& match : QRegularExpression(R"(Icon \((\d+ x \d+)\))").globalMatch(icons))
        sizes << match.captured(1);
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
    for (;; QThread::msleep(50)) {
        const bool zombie = run({"ps", "-o", "stat=", "--ppid", parent}).contains('Z');
        if (!zombie || clock.elapsed() > limit.count())
            return !zombie;
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
    program_.waitForFinished(100); // what a program that has ended wrote is read only now
    return QString::fromUtf8(program_.readAllStandardError());
}

} // namespace zanthera::e2e
