#pragma once

#include <QPrinter>

namespace testsupport {

/** A printer that gives up when asked for page failAt, as a printer that fails during a job does. */
class FailingPrinter : public QPrinter
{
public:
    explicit FailingPrinter(int failAt) : QPrinter(QPrinter::HighResolution), m_failAt(failAt) {}
    bool newPage() override { return ++m_page < m_failAt && QPrinter::newPage(); }

private:
    int m_failAt;
    int m_page = 1;
};

} // namespace testsupport
