// The end-to-end harness of the Linux program's tests and of the Windows program's tests under
// Wine: a virtual X display, the real program started on it as a child process, and the ways a
// person meets it: the pointer, the keyboard, the clipboard and the screen's pixels.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string_view>

// Failures print texts as text, not as runs of UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace zanthera::e2e {

using namespace std::chrono_literals;

inline const QString windowTitle = QStringLiteral("Zanthera ver 0.1");

// An Xvfb server at 96 DPI on a free display number, ended with the object.
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

class RunningProgram {
  public:
    RunningProgram(const VirtualDisplay& display, QProcessEnvironment environment,
                   const QString& program, const QStringList& arguments = {});
    ~RunningProgram();

    // The X window id of the top-level window with this exact title, once it is shown.
    std::optional<unsigned long> waitForWindow(const QString& title,
                                               std::chrono::milliseconds limit);
    // Whether no window with this title is shown, waiting up to `limit` for it to go.
    bool windowGone(const QString& title, std::chrono::milliseconds limit = {}) const;

    // A real click (XTEST) at the centre of a control of the designed window, whose client area
    // is the design's 96-DPI layout grown by `scale`.
    void click(unsigned long window, std::string_view control, double scale = 1);
    // Real key presses, e.g. "ctrl+a", "Tab", "Return", to the window.
    void key(unsigned long window, const QString& keys);
    QString clipboard() const;
    // What the result box holds, read as a person would: select all, copy, paste elsewhere.
    QString resultBoxText(unsigned long window, double scale = 1);

    QImage grab(unsigned long window) const;
    // The window's client area on the screen, in the screen's pixels.
    QRect placeOf(unsigned long window) const;
    // The sizes of the icon images the window offers the window manager, e.g. "16 x 16".
    QStringList iconSizes(unsigned long window) const;
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
