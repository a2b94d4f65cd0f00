// Zanthera: one window of settings shortcuts. main builds the window from its definition, runs
// the Load handler before the window shows, and hands every later event to the event table.
#include "EventTable.h"
#include "WindowSource.h"
#include "platform/posix/PosixSystem.h"
#include "platform/qt/DesktopServices.h"
#include "platform/qt/QtForms.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    using namespace zanthera;
    QApplication app(argc, argv);
    qt::QtForms forms;
    posix::PosixSystem system;
    qt::DesktopServices services(system, QLocale::system(), [&forms] { return forms.window(); });

    auto model = loadWindow();
    Status created = model ? forms.create(*model) : Status(model.error());
    if (!created) {
        std::fprintf(stderr, "zanthera: %s\n", created.error().message.c_str());
        services.messageBox(created.error().message, criticalOk, failureTitle);
        return 1;
    }
    forms.setEventSink([&services, &forms](std::string_view control, FormEvent event) {
        dispatch(services, forms, control, event);
    });
    dispatch(services, forms, "Form1", FormEvent::Load);
    return forms.run();
}
