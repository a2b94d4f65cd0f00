#include "QtProgram.h"

#include "DesktopServices.h"
#include "QtForms.h"
#include "app/Startup.h"

#include <QApplication>

namespace zanthera::qt {

int runOnDesktop(int argc, char* argv[], std::span<const std::uint8_t> definition) {
    QApplication app(argc, argv);
    QtForms forms;
    posix::PosixSystem system;
    DesktopServices services(system, QLocale::system(), [&forms] { return forms.window(); });
    return startWindow(forms, services, definition);
}

} // namespace zanthera::qt
