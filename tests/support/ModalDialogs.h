#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace testsupport {

/**
 * Runs answer once a modal dialog is open: a dialog run with exec() blocks the test until it closes, and it
 * may appear only after other events have been processed, so the check repeats until it does.
 */
inline void WhenDialogOpens(QObject* context, std::function<void(QWidget*)> answer)
{
    auto* timer = new QTimer(context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, context, [timer, answer] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

/** Runs answer once a modal dialog of type T is on top: one opened from another dialog, say. */
template <typename T> void WhenDialogOfTypeOpens(QObject* context, std::function<void(T*)> answer)
{
    auto* timer = new QTimer(context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, context, [timer, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

} // namespace testsupport
