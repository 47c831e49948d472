#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>

class QUndoStack;
class QWidget;

namespace calendar {
class TCalendarPanel32;
}

namespace app {

/**
 * The document as its calendar file carries it, written to memory: the style, month, cells and title as the
 * file writes them, each placed object as a record of its own (so an object that did not change is kept when
 * the snapshot is read back), and the zoom the objects' geometry is at.
 */
struct DocumentSnapshot
{
    QByteArray bytes;
    /** One object list of a single record per placed object, bottom of the stacking order first. */
    QList<QByteArray> objects;
    float zoom = 1.0f;

    bool operator==(const DocumentSnapshot& other) const = default;
};

/**
 * The undo history of the page's document. Every step holds the document before and after it; undoing and
 * redoing read one of them back into the page.
 *
 * Steps arise two ways. A command of the window wraps its work in a Step and becomes one named step. Changes
 * the page reports on its own (placed objects moved, deleted, pasted, edited through their menus) are
 * collected until the events of the user's action are done, then compared with the last recorded document:
 * one step per action, named by the menu item or key that started it, or by what changed.
 */
class DocumentHistory : public QObject
{
    Q_OBJECT

public:
    /** Placed objects read back are owned by owner, as when the calendar file is opened. */
    DocumentHistory(calendar::TCalendarPanel32& page, QObject* owner, QObject* parent = nullptr);
    ~DocumentHistory() override;

    QUndoStack* Stack() const { return m_stack; }

    DocumentSnapshot Take() const;
    /** Reads the snapshot into the page at its present zoom, keeping the selected objects selected. */
    void Restore(const DocumentSnapshot& snapshot);
    bool Restoring() const { return m_restoring; }

    /** Forgets every step: the document as it is now is where the history starts (a file opened, a new one).
     */
    void Reset();
    /** Takes the document as it is now as the last recorded one without a step (after a zoom change). */
    void Rebase();

    /** The page reported a change: it is recorded once the events of the present action are done. */
    void ChangeReported();
    /** Records a change reported but not yet recorded now. */
    void Flush();
    /** Records the document as one step named name when it differs from the last recorded one. */
    bool Commit(const QString& name);

    /** A new user action begins (a press, a key, a menu item): its changes are not merged with earlier ones.
     */
    void NextAction();
    /**
     * Names the present action's step. Steps with the same non-empty merge key that follow each other become
     * one (one object nudged again and again with the arrow keys).
     */
    void SetHint(const QString& name, const QString& mergeKey = QString());

    /** Undoes or redoes one step, after recording what is pending. */
    void Undo();
    void Redo();

    /** While alive, the changes made become one step named name when it ends. Steps may nest. */
    class Step
    {
    public:
        Step(DocumentHistory& history, const QString& name);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        DocumentHistory& m_history;
        QString m_name;
    };

Q_SIGNALS:
    /** The page was given a recorded document back. */
    void restored();

private:
    struct PlacedState
    {
        QPointer<QWidget> object;
        QRect geometry;
    };

    QList<PlacedState> placedStates() const;
    /** Gives the page the snapshot's objects, keeping those whose records are unchanged. */
    void restoreObjects(const DocumentSnapshot& snapshot);
    /** What happened to the placed objects since the last recorded document: "Move", "Delete", ... */
    QString describeChange() const;
    bool record(const QString& name, bool implicit);
    void recordPending();

    calendar::TCalendarPanel32& m_page;
    QObject* m_owner;
    QUndoStack* m_stack;
    QTimer m_pendingTimer;
    DocumentSnapshot m_recorded;
    QList<PlacedState> m_recordedObjects;
    bool m_active = false;
    bool m_pending = false;
    bool m_restoring = false;
    int m_stepDepth = 0;
    int m_action = 1;
    QString m_hint;
    QString m_mergeKey;
    int m_hintAction = 0;
};

} // namespace app
