#pragma once

#include "ViewCore.h"

// What the pages do to the mouse after a profile change, with fixed page
// values: the key matrix with a gun entry, the report rate, the DPI stages,
// the lighting effect and the gun-matrix reset. The HID bench times it; the
// golden-trace test compares its traffic byte for byte.
inline void applyProfileChange(ViewCore& view)
{
    QVariantList page;
    for (int button = 0; button < 16; ++button) {
        if (button == 1)
            page << 8 << 0 << 2 << 0; // a gun function with two guns
        else
            page << 0 << 0 << (0xF0 + (button % 3)) << 0;
    }
    view.mouseSetKeyMatrix(page, true, QVariantList{10, 20, 30});
    view.mouseSetReportRate(3);
    view.mouseSetDpi(4, QStringLiteral("3360"), QVariantList{400, 800, 1600, 3200, 6000, 6000, 6000, 6000});
    view.mouseSetRGBEffect(1, 2, 3);
    view.mouseResetKeyMatrix();
}
