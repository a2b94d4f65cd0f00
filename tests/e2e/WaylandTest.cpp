// The Linux program natively on Wayland: Qt's Wayland plugin under a headless Weston and its
// desktop shell, clicked through a seat of the compositor's own (WestonSeat.c). What X11 cannot
// show: the compositor places the window and Qt draws its frame, the compositor knows it by its
// application id, the clipboard and the keyboard focus go through Wayland, and at an output scale
// of 2 each pixel is two by two device pixels, which the resolution button must count.
#include "ArtworkChecks.h"
#include "Desktop.h"
#include "FakeTools.h"

#include <QDir>
#include <QElapsedTimer>

#include <linux/input-event-codes.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace zanthera::e2e {
namespace {

// A headless Weston in a runtime directory of its own; its output is `size` desktop pixels, each
// `scale` device pixels wide.
class HeadlessWeston {
  public:
    HeadlessWeston(QSize size, int scale) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir_.path());
        env.insert("ZANTHERA_WESTON_SEAT", dir_.filePath("seat"));
        weston_.setProcessEnvironment(env);
        // Nobody's weston.ini, and no fading in or zooming: a screenshot shows what is drawn.
        QFile config(dir_.filePath("weston.ini"));
        config.open(QIODevice::WriteOnly);
        config.write("[shell]\nstartup-animation=none\nanimation=none\nlocking=false\n");
        config.close();
        // --debug: Weston offers its screenshooter only then.
        weston_.start("weston",
                      {"--backend=headless-backend.so", "--use-pixman", "--debug",
                       "--config=" + config.fileName(), "--idle-time=0", "--socket=wayland-test",
                       QString("--scale=%1").arg(scale), QString("--width=%1").arg(size.width()),
                       QString("--height=%1").arg(size.height()),
                       "--modules=" ZANTHERA_WESTON_SEAT_MODULE});
        QElapsedTimer clock;
        for (clock.start();
             !ok() && weston_.state() != QProcess::NotRunning && clock.elapsed() < 10000;)
            QThread::msleep(50);
    }
    ~HeadlessWeston() { // what does not end in time, QProcess kills
        weston_.terminate();
        weston_.waitForFinished(3000);
    }
    bool ok() const {
        return QFile::exists(dir_.filePath("seat")) && QFile::exists(dir_.filePath("wayland-test"));
    }
    QProcessEnvironment forProgram(QProcessEnvironment env) const {
        env.insert("WAYLAND_DISPLAY", dir_.filePath("wayland-test"));
        env.insert("QT_QPA_PLATFORM", "wayland");
        env.remove("DISPLAY");
        return env;
    }

    // One line to the seat ("click X Y", "key CODE...", "windows", "selection"); its answer.
    QString ask(const QString& command) const {
        sockaddr_un address{AF_UNIX, {}};
        std::strncpy(address.sun_path, QFile::encodeName(dir_.filePath("seat")).constData(),
                     sizeof address.sun_path - 1);
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const timeval patience{10, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
        QByteArray answer, line = command.toUtf8() + '\n';
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            write(fd, line.constData(), std::size_t(line.size())) == line.size()) {
            char chunk[4096];
            for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;)
                answer.append(chunk, n);
        }
        close(fd);
        QThread::msleep(150); // what a click or key does is given a moment to happen
        return QString::fromUtf8(answer);
    }
    void click(QPoint at) { ask(QString("click %1 %2").arg(at.x()).arg(at.y())); }

    // The shown window's application id and its place on the desktop, Qt's frame included.
    std::optional<std::pair<QString, QRect>> waitForWindow(const QString& title) const {
        QElapsedTimer clock;
        for (clock.start(); clock.elapsed() < 20000; QThread::msleep(50))
            for (const QString& line : ask("windows").split('\n', Qt::SkipEmptyParts)) {
                const QStringList f = line.split('\t'), g = f.value(2).split(' ');
                if (f.value(1) == title && g.size() == 4) {
                    QThread::msleep(300); // shown is not yet painted
                    return std::pair(f[0],
                                     QRect(g[0].toInt(), g[1].toInt(), g[2].toInt(), g[3].toInt()));
                }
            }
        return std::nullopt;
    }

    // The output in device pixels; the screenshooter names its file by the second.
    QImage screenshot() const {
        QTemporaryDir shots(dir_.filePath("shot-XXXXXX"));
        QProcess tool;
        tool.setProcessEnvironment(forProgram(QProcessEnvironment::systemEnvironment()));
        tool.setWorkingDirectory(shots.path());
        tool.start("weston-screenshooter", {});
        tool.waitForFinished(10000);
        const QStringList files = QDir(shots.path()).entryList({"*.png"});
        return files.isEmpty()
                   ? QImage()
                   : QImage(shots.filePath(files.front())).convertToFormat(QImage::Format_RGB32);
    }

  private:
    QTemporaryDir dir_;
    QProcess weston_;
};

constexpr QSize client(425, 508);

TEST(WaylandEndToEnd, NativeWindowIsDrawnClickedReadAndEndedAtScaleOneAndTwo) {
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        HeadlessWeston weston({1024, 768}, scale);
        ASSERT_TRUE(weston.ok()) << "headless Weston did not start";
        FakeTools tools({"gnome-control-center"});
        QProcess program;
        program.setProcessEnvironment(weston.forProgram(tools.environment("GNOME")));
        program.start(ZANTHERA_PROGRAM, {});
        const auto window = weston.waitForWindow(windowTitle);
        ASSERT_TRUE(window) << program.readAllStandardError().toStdString();
        // Docks group the window under the menu entry whose file name is its application id.
        EXPECT_EQ(window->first, ZANTHERA_APP_ID);
        // Qt's frame is as wide on the left, right and bottom: a client area of any other size
        // than the design's would move every pixel the artwork check looks at.
        const QRect frame = window->second;
        const int side = (frame.width() - client.width()) / 2;
        const QRect area(frame.topLeft() + QPoint(side, frame.height() - client.height() - side),
                         client);
        const auto centreOf = [&](std::string_view control) {
            return area.topLeft() + pixelRect(*design::findControl(control)).center();
        };
        const auto inDevicePixels = [scale](QRect r) {
            return QRect(r.topLeft() * scale, r.size() * scale);
        };
        const QImage shot = weston.screenshot();
        ASSERT_EQ(shot.size(), QSize(1024, 768) * scale);
        // Every second device pixel of each row and column is the design's pixel.
        expectTheArtwork(shot.copy(inDevicePixels(area))
                             .scaled(client, Qt::IgnoreAspectRatio, Qt::FastTransformation));

        // The fake control centre says it is GNOME 43's, whose date page has a one-word name.
        weston.click(centreOf("Command3"));
        EXPECT_EQ(tools.starts(1, 10s), QStringList{"gnome-control-center datetime"});

        const QRect time =
            inDevicePixels(pixelRect(*design::findControl("Label1")).translated(area.topLeft()));
        QThread::msleep(1100);
        EXPECT_NE(weston.screenshot().copy(time), shot.copy(time)) << "the clock did not tick";

        // The answer is read as a person would: the keyboard focus follows a click into the box.
        weston.click(centreOf("Command1"));
        weston.click(centreOf("Text1"));
        weston.ask(QString("key %1 %2").arg(KEY_LEFTCTRL).arg(KEY_A));
        weston.ask(QString("key %1 %2").arg(KEY_LEFTCTRL).arg(KEY_C));
        EXPECT_EQ(weston.ask("selection"), QString("%1 * %2").arg(1024 * scale).arg(768 * scale));

        weston.click(centreOf("Command8"));
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    }
}

} // namespace
} // namespace zanthera::e2e
