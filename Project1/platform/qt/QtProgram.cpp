// The program on a Linux desktop: Qt's application object, the Qt forms engine and the desktop's
// platform services.
#include "DesktopServices.h"
#include "QtForms.h"
#include "app/Startup.h"
#include "platform/ProgramEntry.h"
#include "platform/posix/ResidentPages.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

namespace zanthera {

namespace {

// Started programs are reaped from the event loop: each one's pidfd gets a notifier that fires
// once, when the program ends.
posix::DescriptorWatch watchOnEventLoop() {
    return [](int fd, std::function<void()> onReadable) {
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, qApp);
        QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                         [notifier, onReadable = std::move(onReadable)] {
                             notifier->setEnabled(false);
                             notifier->deleteLater();
                             onReadable();
                         });
    };
}

} // namespace

int runProgram(int argc, char* argv[], std::span<const std::uint8_t> definition) {
    // Docks and task bars group the window under the installed menu entry by these names: the
    // class half of the X11 window class (the entry's StartupWMClass) and the entry's own file
    // name, which Wayland takes as the application id.
    QCoreApplication::setApplicationName(QStringLiteral(ZANTHERA_WINDOW_CLASS));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZANTHERA_APP_ID));
    QApplication app(argc, argv);
    qt::QtForms forms;
    posix::SystemLookups lookups;
    lookups.watchDescriptor = watchOnEventLoop();
    posix::PosixSystem system(std::move(lookups));
    qt::DesktopServices services(system, QLocale::system(), [&forms] { return forms.window(); });
    // Runs as the event loop starts: the window's model and the files it was built from are
    // gone by then.
    QTimer::singleShot(0, [] { posix::releaseFreeHeap(); });
    return startWindow(forms, services, definition,
                       [definition] { posix::releaseResidentPages(definition); });
}

} // namespace zanthera
