// What the end-to-end tests share: the designed window's title and where a person would click.
#pragma once

#include "Desktop.h"
#include "FakeTools.h"
#include "Form1/ControlTable.h"

#include <gtest/gtest.h>

#include <memory>

#include <QPoint>
#include <QString>

// Failures print texts as text, not as runs of UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace zanthera::e2e {

inline const QString windowTitle = QStringLiteral("Zanthera ver 0.1");

// The centre of a control at 96 DPI, where the virtual display runs.
inline QPoint centreOf(std::string_view name) {
    const auto* row = design::findControl(name);
    const Extents& e = row->extents;
    return {(e.left + e.width / 2) / 15, (e.top + e.height / 2) / 15};
}

inline void clickControl(RunningProgram& program, unsigned long window, std::string_view control) {
    const QPoint at = centreOf(control);
    program.click(window, at.x(), at.y());
}

// What the result box holds, read as a person would: select all, copy, paste elsewhere.
inline QString resultBoxText(RunningProgram& program, unsigned long window) {
    clickControl(program, window, "Text1");
    program.key(window, "ctrl+a");
    program.key(window, "ctrl+c");
    return program.clipboard();
}

// A test that starts with the program's window shown on its own virtual display, on a GNOME
// desktop whose only settings tool is a recording fake.
class ProgramOnDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        using namespace std::chrono_literals;
        ASSERT_TRUE(display.ok());
        program = std::make_unique<RunningProgram>(display, tools.environment("GNOME"));
        const auto found = program->waitForWindow(windowTitle, 20s);
        ASSERT_TRUE(found) << program->errors().toStdString();
        window = *found;
    }

    VirtualDisplay display;
    FakeTools tools{{"gnome-control-center"}};
    std::unique_ptr<RunningProgram> program;
    unsigned long window = 0;
};

} // namespace zanthera::e2e
