// Fake settings tools on PATH: each records the argv it was started with, one line per start,
// so a test can see exactly what a click launched.
#pragma once

#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>

namespace zanthera::e2e {

class FakeTools {
  public:
    // One executable per name; gnome-control-center also answers --version with `gnomeVersion`.
    FakeTools(const QStringList& names, const QString& gnomeVersion = "43.9");
    bool ok() const { return dir_.isValid(); }

    // The environment a program sees when only these tools (and the system's basics) exist.
    QProcessEnvironment environment(const QString& desktop, const QString& kdeVersion = {}) const;

    // Every recorded start, oldest first, as "name arg arg".
    QStringList starts() const;
    // Waits until at least `count` starts are recorded.
    QStringList waitForStarts(int count, std::chrono::milliseconds limit) const;

  private:
    QTemporaryDir dir_;
    QString log_;
};

} // namespace zanthera::e2e
