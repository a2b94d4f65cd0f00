#include "FakeTools.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace zanthera::e2e {

FakeTools::FakeTools(const QStringList& names, const QString& gnomeVersion)
    : log_(dir_.filePath("starts.log")) {
    for (const QString& name : names) {
        QFile tool(dir_.filePath(name));
        tool.open(QIODevice::WriteOnly);
        QString script = QStringLiteral("#!/bin/sh\n");
        if (name == "gnome-control-center")
            script += "[ \"$1\" = --version ] && { echo 'gnome-control-center " + gnomeVersion +
                      "'; exit 0; }\n";
        script += "printf '%s' \"$(basename \"$0\")\" >>'" + log_ +
                  "'\nfor a in \"$@\"; do printf ' %s' \"$a\" >>'" + log_ + "'; done\necho >>'" +
                  log_ + "'\n";
        tool.write(script.toUtf8());
        tool.close();
        tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

QProcessEnvironment FakeTools::environment(const QString& desktop,
                                           const QString& kdeVersion) const {
    QProcessEnvironment env;
    env.insert("PATH", dir_.path() + ":/usr/bin:/bin");
    env.insert("HOME", QProcessEnvironment::systemEnvironment().value("HOME", "/tmp"));
    env.insert("LANG", "C.UTF-8");
    env.insert("XDG_RUNTIME_DIR", dir_.path()); // private to this run, as Qt wants it
    if (!desktop.isEmpty())
        env.insert("XDG_CURRENT_DESKTOP", desktop);
    if (!kdeVersion.isEmpty())
        env.insert("KDE_SESSION_VERSION", kdeVersion);
    return env;
}

QStringList FakeTools::starts() const {
    QFile file(log_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

QStringList FakeTools::waitForStarts(int count, std::chrono::milliseconds limit) const {
    QElapsedTimer clock;
    clock.start();
    QStringList seen = starts();
    while (seen.size() < count && clock.elapsed() < limit.count()) {
        QThread::msleep(50);
        seen = starts();
    }
    return seen;
}

} // namespace zanthera::e2e
