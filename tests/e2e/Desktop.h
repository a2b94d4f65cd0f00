// The end-to-end harness: a virtual X display, the real program started on it as a child
// process, and the ways a person meets it: the pointer, the keyboard, the clipboard and the
// screen's pixels.
#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <QRect>
#include <QSize>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace zanthera::e2e {

// An Xvfb server on a free display number, ended with the object.
class VirtualDisplay {
  public:
    explicit VirtualDisplay(const QString& screen = QStringLiteral("1024x768x24"));
    ~VirtualDisplay();
    bool ok() const { return !name_.isEmpty(); }
    const QString& name() const { return name_; } // ":N"

  private:
    QProcess server_;
    QString name_;
};

// The built program, beside this test.
QString programPath();

// The program under test on a virtual display.
class RunningProgram {
  public:
    RunningProgram(const VirtualDisplay& display, QProcessEnvironment environment,
                   const QString& program = programPath(), const QStringList& arguments = {});
    ~RunningProgram();

    // The X window id of the top-level window with this exact title, once it is shown.
    std::optional<unsigned long> waitForWindow(const QString& title,
                                               std::chrono::milliseconds limit);
    // Whether no window with this title is shown, waiting up to `limit` for it to go.
    bool windowGone(const QString& title, std::chrono::milliseconds limit = {}) const;

    // A real click (XTEST) at a point of the window's client area.
    void click(unsigned long window, int x, int y);
    // Real key presses, e.g. "ctrl+a", "Tab", "Return", to the focused window.
    void key(unsigned long window, const QString& keys);
    QString clipboard() const;
    QImage grab(unsigned long window) const;
    // The window's client area on the screen, in the screen's pixels.
    QRect placeOf(unsigned long window) const;
    // The sizes of the icon images the window offers the window manager, e.g. {16, 32}.
    std::vector<QSize> iconSizes(unsigned long window) const;
    // What the window's close box does: ask the window to close itself.
    void requestClose(unsigned long window) const;

    // Waits until every program it started has been reaped; false if one is still a zombie.
    bool childrenReaped(std::chrono::milliseconds limit) const;

    // Waits for the program to end; its exit status, or nothing if it did not end in time.
    std::optional<int> waitForExit(std::chrono::milliseconds limit);
    QString errors();

  private:
    QString run(const QStringList& arguments) const;

    QString display_;
    QProcess program_;
};

} // namespace zanthera::e2e
