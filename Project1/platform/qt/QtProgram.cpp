// The program on a Linux desktop: Qt's application object, the Qt forms engine and the desktop's
// platform services.
#include "DesktopServices.h"
#include "QtForms.h"
#include "app/Startup.h"
#include "platform/ProgramEntry.h"

#include <QApplication>

namespace zanthera {

int runProgram(int argc, char* argv[], std::span<const std::uint8_t> definition) {
    QApplication app(argc, argv);
    qt::QtForms forms;
    posix::PosixSystem system;
    qt::DesktopServices services(system, QLocale::system(), [&forms] { return forms.window(); });
    return startWindow(forms, services, definition);
}

} // namespace zanthera
