#pragma once

#include "persist/stream/ClassInfo.h"

#include <QWidget>

namespace testsupport {

/**
 * A small placed object for tests of the object list: geometry, a caption and a click handler name,
 * registered under the class name "TTestObject".
 */
class TTestObject : public QWidget
{
    Q_OBJECT

public:
    explicit TTestObject(QWidget* parent = nullptr) : QWidget(parent) {}

    QString caption;
    QString onClick;
    int loadedCount = 0;
};

const persist::ClassInfo& TestObjectClass();
/** Registers the class by name and by Qt type; harmless when repeated. */
void RegisterTestObject();

} // namespace testsupport
