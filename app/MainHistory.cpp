// The main window's side of undo and redo: the Edit menu, the keys and clicks that start a new step, and the
// window put in order after a recorded document was read back.

#include "app/TCalendarMain.h"

#include "app/DocumentHistory.h"
#include "calendar/TCalendarPanel32.h"
#include "design/TQelGraphicControl.h"
#include "design/TQelHandle.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"
#include "richtext/TVelRtfStorage.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QUndoStack>

namespace app {

void TCalendarMain::buildEditMenu()
{
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    QAction* undo = edit->addAction(tr("&Undo"), this, [this] { Undo(); });
    undo->setObjectName(QStringLiteral("mnuUndo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = edit->addAction(tr("&Redo"), this, [this] { Redo(); });
    redo->setObjectName(QStringLiteral("mnuRedo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // The captions name the step; a change still waiting to be recorded is recorded first.
    connect(edit, &QMenu::aboutToShow, this, [this] { m_history->Flush(); });
    QUndoStack* stack = m_history->Stack();
    auto refresh = [this, stack, undo, redo] {
        undo->setEnabled(stack->canUndo());
        undo->setText(stack->canUndo() ? tr("&Undo %1").arg(stack->undoText()) : tr("&Undo"));
        redo->setEnabled(stack->canRedo());
        redo->setText(stack->canRedo() ? tr("&Redo %1").arg(stack->redoText()) : tr("&Redo"));
        // The modified state follows the history: undoing back to the saved document clears it.
        if (!m_startingUp)
            SetModified(!stack->isClean());
    };
    connect(stack, &QUndoStack::indexChanged, this, refresh);
    connect(stack, &QUndoStack::cleanChanged, this, refresh);
    refresh();
    connect(m_history, &DocumentHistory::restored, this, [this] {
        layoutCanvas();
        CheckFloaterStatus();
        SetButtons();
        SetCaption();
    });
}

void TCalendarMain::Undo()
{
    stepThroughHistory(false);
}

void TCalendarMain::Redo()
{
    stepThroughHistory(true);
}

void TCalendarMain::stepThroughHistory(bool forward)
{
    // Typing in the open cell is a step of its own, recorded before it can be undone.
    DoSaveRichtext();
    const int x = m_scroll->horizontalScrollBar()->value();
    const int y = m_scroll->verticalScrollBar()->value();
    if (forward)
        m_history->Redo();
    else
        m_history->Undo();
    m_scroll->horizontalScrollBar()->setValue(x);
    m_scroll->verticalScrollBar()->setValue(y);
}

void TCalendarMain::saveCellEditorNow()
{
    if (m_editingCell && m_editedStorage)
        m_cellEditor->SaveToStorage(*m_editedStorage);
}

bool TCalendarMain::historyEvent(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonRelease && type != QEvent::KeyPress)
        return false;
    // What a dialog's controls do belongs to the action that opened the dialog.
    if (QApplication::activeModalWidget())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    const bool onPage = widget == m_page || m_page->isAncestorOf(widget);
    switch (type) {
    case QEvent::ShortcutOverride: {
        // In the cell editor the keys undo its typing; when it has none to undo, the document's steps.
        auto* key = static_cast<QKeyEvent*>(event);
        if (widget != m_cellEditor)
            return false;
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo =
            key->matches(QKeySequence::Redo) || key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
        return (undo && !m_cellEditor->document()->isUndoAvailable()) ||
               (redo && !m_cellEditor->document()->isRedoAvailable());
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // A press goes on to the parents of a widget that ignores it: one action, however far it goes.
        if (mouse->timestamp() == m_lastPressTime && mouse->globalPosition() == m_lastPressPoint)
            return false;
        m_lastPressTime = mouse->timestamp();
        m_lastPressPoint = mouse->globalPosition();
        if (widget->window() != this && !qobject_cast<QMenu*>(widget))
            return false;
        m_history->NextAction();
        if (onPage && !m_page->Pointing() && m_tools->checkedAction())
            m_history->SetHint(tr("Create %1").arg(m_tools->checkedAction()->text()));
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto* menu = qobject_cast<QMenu*>(widget);
        if (!menu)
            return false;
        QAction* item = menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (item && item->isEnabled() && !item->menu() && !item->isSeparator()) {
            m_history->NextAction();
            m_history->SetHint(item->text());
        }
        return false;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (QApplication::focusWidget() && widget != QApplication::focusWidget())
            return false;
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && menu->activeAction()) {
                m_history->NextAction();
                m_history->SetHint(menu->activeAction()->text());
            }
            return false;
        }
        if (widget->window() != this || key->isAutoRepeat())
            return false;
        m_history->NextAction();
        if (!onPage)
            return false;
        if (key->matches(QKeySequence::Cut))
            m_history->SetHint(tr("Cut"));
        else if (key->matches(QKeySequence::Paste))
            m_history->SetHint(tr("Paste"));
        else if (key->key() == Qt::Key_Delete)
            m_history->SetHint(tr("Delete"));
        else if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right || key->key() == Qt::Key_Up ||
                 key->key() == Qt::Key_Down) {
            // Nudges of the same objects follow each other as one step.
            QStringList names;
            for (const design::TQelGraphicControl* object : m_page->Handle()->Selection())
                names.append(object->objectName());
            const bool resize = (key->modifiers() & Qt::ShiftModifier) && names.size() == 1;
            m_history->SetHint(resize ? tr("Resize") : tr("Move"),
                               (resize ? QStringLiteral("resize:") : QStringLiteral("move:")) +
                                   names.join(u'/'));
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace app
