// The program on a Linux desktop: Qt's application object, the Qt forms engine and the desktop's
// platform services. Without a reachable display it says so in one line and returns status 1.
#include "ControlWidgets.h"
#include "DesktopServices.h"
#include "QtForms.h"
#include "platform/ProgramEntry.h"
#include "platform/posix/ResidentPages.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
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

// Qt's application object, made while Qt's messages are held back (see holdStartupMessage).
std::unique_ptr<QApplication> startApplication(int& argc, char* argv[]) {
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
    auto app = std::make_unique<QApplication>(argc, argv);
    if (!transportChosenByUser)
        qunsetenv(noSharedMemory);
    qInstallMessageHandler(qtHandler);
    for (const auto& [type, message] : held)
        qt_message_output(type, QMessageLogContext(), message);
    heldMessages = nullptr;
    return app;
}

// The objects live in the order they are made and end in the reverse order, the application
// object last.
class QtFrontEnd final : public FrontEnd {
  public:
    QtFrontEnd(int& argc, char* argv[]) : app_(startApplication(argc, argv)) {
        loadQtTranslations(*app_, translator_);
        qt::useArabicFont();
        forms_.emplace();
        posix::SystemLookups lookups;
        lookups.watchDescriptor = watchOnEventLoop();
        system_.emplace(std::move(lookups));
        services_.emplace(*system_, QLocale::system(), [this] { return forms_->window(); });
        // Runs as the event loop starts: the window's model and the files it was built from
        // are gone by then.
        QTimer::singleShot(0, [] { posix::releaseFreeHeap(); });
    }

    FormsEngine& forms() override { return *forms_; }
    PlatformServices& services() override { return *services_; }
    void definitionRead(std::span<const std::uint8_t> definition) override {
        posix::releaseResidentPages(definition);
    }

  private:
    std::unique_ptr<QApplication> app_;
    QTranslator translator_;
    std::optional<qt::QtForms> forms_;
    std::optional<posix::PosixSystem> system_;
    std::optional<qt::DesktopServices> services_;
};

} // namespace

std::unique_ptr<FrontEnd> openFrontEnd(int& argc, char* argv[]) {
    return std::make_unique<QtFrontEnd>(argc, argv);
}

} // namespace zanthera
