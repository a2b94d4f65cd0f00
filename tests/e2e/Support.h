// What the end-to-end tests share: the designed window's title and where a person would click.
#pragma once

#include "Form1/ControlTable.h"

#include <QPoint>
#include <QString>

namespace zanthera::e2e {

inline const QString windowTitle = QStringLiteral("Zanthera ver 0.1");

// The centre of a control at 96 DPI, where the virtual display runs.
inline QPoint centreOf(std::string_view name) {
    const auto* row = design::findControl(name);
    const Extents& e = row->extents;
    return {(e.left + e.width / 2) / 15, (e.top + e.height / 2) / 15};
}

} // namespace zanthera::e2e
