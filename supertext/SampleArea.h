#pragma once

#include <QWidget>

namespace supertext {

/**
 * The white ground an example SuperText sits on inside a scroll area: it keeps the size of its example, so
 * the scroll area reaches every part of an example that grows.
 */
class SampleArea : public QWidget
{
    Q_OBJECT

public:
    explicit SampleArea(QWidget* parent = nullptr);
    /** Follows the widget's size from now on. */
    void Track(QWidget* example);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();

    QWidget* m_example = nullptr;
};

} // namespace supertext
