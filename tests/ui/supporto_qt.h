// Helpers of the Qt tests: the check that no window outlives a test.
#pragma once

#include "tests/supporto_dati.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace veltrano::test {

/// Fails when a top-level widget is still alive (a leaked form or dialog).
inline void NessunaFinestraRimasta() {
    QApplication::processEvents();
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->inherits("QMenu") && !w->inherits("QComboBoxPrivateContainer") && w->objectName() != "qtooltip_label")
            ++n;
    EXPECT_EQ(n, 0) << "finestre rimaste aperte";
}

} // namespace veltrano::test
