#pragma once

#include "platform/TRect.h"

#include <QTest>

namespace platform {

/** Lets QCOMPARE print rectangles as (left, top, right, bottom). */
inline char* toString(const TRect& r)
{
    return QTest::toString(
        QStringLiteral("(%1, %2, %3, %4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom));
}

} // namespace platform
