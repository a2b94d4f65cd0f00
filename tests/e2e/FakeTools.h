// Settings tools that only record how they were started, for the Linux program's scenes.
#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>

namespace zanthera::e2e {

// Fake settings tools on PATH: each records the argv it was started with, one line per start,
// "name arg arg"; gnome-control-center also answers --version as GNOME 43's does.
class FakeTools {
  public:
    explicit FakeTools(const QStringList& names = {}) {
        const QString log = dir_.filePath("starts.log");
        for (const QString& name : names) {
            QFile tool(dir_.filePath(name));
            tool.open(QIODevice::WriteOnly);
            QString script = QStringLiteral("#!/bin/sh\n");
            if (name == "gnome-control-center")
                script +=
                    "[ \"$1\" = --version ] && { echo 'gnome-control-center 43.9'; exit 0; }\n";
            script += "set -- \"$(basename \"$0\")\" \"$@\"\necho \"$*\" >>'" + log + "'\n";
            tool.write(script.toUtf8());
            tool.close();
            tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    // The environment a program sees when only these tools (and the system's basics) exist.
    QProcessEnvironment environment(const QString& desktop = "GNOME") const {
        QProcessEnvironment env;
        env.insert("PATH", dir_.path() + ":/usr/bin:/bin");
        env.insert("HOME", QProcessEnvironment::systemEnvironment().value("HOME", "/tmp"));
        env.insert("LANG", "C.UTF-8");
        env.insert("XDG_RUNTIME_DIR", dir_.path()); // private to this run, as Qt wants it
        env.insert("XDG_CURRENT_DESKTOP", desktop);
        return env;
    }

    // Every recorded start, oldest first, once at least `count` are there.
    QStringList starts(int count = 0, std::chrono::milliseconds limit = {}) const {
        for (const QDeadlineTimer deadline(limit);; QThread::msleep(50)) {
            QFile file(dir_.filePath("starts.log"));
            const QStringList seen =
                file.open(QIODevice::ReadOnly)
                    ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                    : QStringList();
            if (seen.size() >= count || deadline.hasExpired())
                return seen;
        }
    }

  private:
    QTemporaryDir dir_;
};

} // namespace zanthera::e2e
