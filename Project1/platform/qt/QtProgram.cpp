// The program on a Linux desktop: Qt's application object, the Qt forms engine and the desktop's
// platform services. Without a reachable display it says so in one line and returns status 1.
#include "ControlWidgets.h"
#include "DesktopServices.h"
#include "QtForms.h"
#include "app/Startup.h"
#include "platform/ProgramEntry.h"
#include "platform/posix/ResidentPages.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

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

// Qt's messages from while the application object is being made: kept back, because when no
// display can be reached Qt ends with a dozen lines of plugin detail where one line does.
std::vector<std::pair<QtMsgType, QString>>* heldMessages = nullptr;
QtMessageHandler qtHandler = nullptr;

QString displayTried() {
    for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return QStringLiteral("%1=%2").arg(QLatin1String(variable),
                                               QString::fromLocal8Bit(value));
    }
    return QStringLiteral("DISPLAY (not set)");
}

void holdStartupMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        heldMessages->emplace_back(type, message);
        return;
    }
    // Qt cannot go on without a display and would abort with a core dump; one clear line and
    // the ordinary failure status serve the user better.
    // The technical detail follows the Arabic sentence: the display tried and Qt's own reason.
    QString detail = heldMessages->empty() ? message : heldMessages->back().second;
    detail.replace(u'\n', u' ');
    const QByteArray line =
        QStringLiteral("زانثيرا: تعذر الاتصال بالشاشة فلا يمكن عرض النافذة. (%1: %2)\n")
            .arg(displayTried(), detail.trimmed())
            .toUtf8();
    (void)!::write(STDERR_FILENO, line.constData(), std::size_t(line.size()));
    ::_exit(1);
}

// Qt on X11 hands painted pixels to the server through shared memory, and so, before painting
// again where the server may still be reading, waits for the server to answer: a round trip and
// two thread wake-ups on every tick of the clock. This window's repaints are a label's few
// thousand pixels, cheaper sent inside the request. The application object reads the choice
// once, as it is made; the programs started from the window must not inherit it, and a choice
// the user made stands.
constexpr char noSharedMemory[] = "QT_XCB_NO_MITSHM";

// The standard buttons ("OK") in the user's language, from Qt's own translations.
void loadQtTranslations(QApplication& app, QTranslator& translator) {
    if (translator.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
}

} // namespace

int runProgram(int argc, char* argv[], std::span<const std::uint8_t> definition) {
    // Docks and task bars group the window under the installed menu entry by these names: the
    // class half of the X11 window class (the entry's StartupWMClass) and the entry's own file
    // name, which Wayland takes as the application id.
    QCoreApplication::setApplicationName(QStringLiteral(ZANTHERA_WINDOW_CLASS));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZANTHERA_APP_ID));
    std::vector<std::pair<QtMsgType, QString>> held;
    heldMessages = &held;
    qtHandler = qInstallMessageHandler(holdStartupMessage);
    const bool transportChosenByUser = qEnvironmentVariableIsSet(noSharedMemory);
    if (!transportChosenByUser)
        qputenv(noSharedMemory, "1");
    QApplication app(argc, argv);
    if (!transportChosenByUser)
        qunsetenv(noSharedMemory);
    qInstallMessageHandler(qtHandler);
    for (const auto& [type, message] : held)
        qt_message_output(type, QMessageLogContext(), message);
    heldMessages = nullptr;

    QTranslator translator;
    loadQtTranslations(app, translator);
    qt::useArabicFont();
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
