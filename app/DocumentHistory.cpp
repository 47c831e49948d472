#include "app/DocumentHistory.h"

#include "calendar/TCalendarPanel32.h"
#include "design/PlacedObjectClasses.h"
#include "design/TQelGraphicControl.h"
#include "design/TQelHandle.h"
#include "persist/formats/CalendarFile.h"
#include "persist/stream/ClassRegistry.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"

#include <QApplication>
#include <QBuffer>
#include <QSet>
#include <QStringList>
#include <QUndoCommand>
#include <QUndoStack>

namespace app {

namespace {

// Enough for a long day of editing; each step shares its snapshots with its neighbours.
constexpr int kUndoLimit = 200;
// While a dialog runs, changes wait for it to close: they belong to the action that opened it.
constexpr int kModalRetryMs = 50;

/** One step: the document before and after it. */
class SnapshotCommand : public QUndoCommand
{
public:
    SnapshotCommand(DocumentHistory& history, DocumentSnapshot before, DocumentSnapshot after,
                    const QString& text, int action, QString mergeKey)
        : QUndoCommand(text), m_history(history), m_before(std::move(before)), m_after(std::move(after)),
          m_action(action), m_mergeKey(std::move(mergeKey))
    {}

    void undo() override { m_history.Restore(m_before); }

    void redo() override
    {
        // Pushed after the change was made: the first redo has nothing to do.
        if (m_done) {
            m_done = false;
            return;
        }
        m_history.Restore(m_after);
    }

    int id() const override { return 1; }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const SnapshotCommand*>(other);
        const bool sameAction = m_action != 0 && next->m_action == m_action;
        const bool sameKey = !m_mergeKey.isEmpty() && next->m_mergeKey == m_mergeKey;
        if (!sameAction && !sameKey)
            return false;
        m_after = next->m_after;
        // Changes that cancel out leave no step.
        setObsolete(m_after == m_before);
        return true;
    }

private:
    DocumentHistory& m_history;
    DocumentSnapshot m_before;
    DocumentSnapshot m_after;
    bool m_done = true;
    int m_action;
    QString m_mergeKey;
};

/** An object list holding one object's record. */
QByteArray ObjectRecord(const persist::ObjRef& object)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    persist::TWriter writer(&buffer);
    writer.BeginList();
    writer.PutRootRecord(object);
    writer.EndList();
    writer.Flush();
    return bytes;
}

/** Reads an object list of one record onto the page, under its recorded name; the object, or none. */
design::TQelGraphicControl* ReadObjectRecord(QByteArray record, calendar::TCalendarPanel32& page,
                                             QObject* owner)
{
    const QList<design::TQelGraphicControl*> before = page.PlacedObjects();
    QBuffer buffer(&record);
    buffer.open(QIODevice::ReadOnly);
    try {
        persist::TReader reader(&buffer);
        reader.SetMethodHook([](const QString&, bool& error) { error = false; });
        reader.ExpectBeginList();
        reader.TakeRecordList(owner, persist::ObjRef{static_cast<QObject*>(&page), &design::PanelClass()},
                              nullptr);
        reader.ExpectEndList();
    } catch (const persist::StreamError&) {
        // Written by this program a moment ago; an object not read completely is not placed.
    }
    for (design::TQelGraphicControl* object : page.PlacedObjects()) {
        if (!before.contains(object))
            return object;
    }
    return nullptr;
}

/** A menu caption as a step's name: "&Bring To Front" is "Bring To Front", "Font..." is "Font". */
QString StepName(QString caption)
{
    caption.remove(u'&');
    if (caption.endsWith(QStringLiteral("...")))
        caption.chop(3);
    return caption.trimmed();
}

} // namespace

DocumentHistory::DocumentHistory(calendar::TCalendarPanel32& page, QObject* owner, QObject* parent)
    : QObject(parent), m_page(page), m_owner(owner), m_stack(new QUndoStack(this))
{
    m_stack->setUndoLimit(kUndoLimit);
    m_pendingTimer.setSingleShot(true);
    connect(&m_pendingTimer, &QTimer::timeout, this, [this] { recordPending(); });
}

DocumentHistory::~DocumentHistory()
{
    // The stack empties itself when it goes; whoever listened may be going too.
    m_stack->blockSignals(true);
}

DocumentSnapshot DocumentHistory::Take() const
{
    DocumentSnapshot snapshot;
    snapshot.zoom = m_page.Zoom();
    QBuffer buffer(&snapshot.bytes);
    buffer.open(QIODevice::WriteOnly);
    try {
        persist::WriteCalendar(&buffer, m_page, false);
        for (design::TQelGraphicControl* object : m_page.PlacedObjects()) {
            const persist::ObjRef ref = persist::ClassRegistry::Instance().RefOf(object);
            if (ref)
                snapshot.objects.append(ObjectRecord(ref));
        }
    } catch (const persist::StreamError&) {
        // Memory does not fail to take bytes; an object that cannot be written is left out, as in a file.
    }
    return snapshot;
}

void DocumentHistory::Restore(const DocumentSnapshot& snapshot)
{
    m_restoring = true;
    m_pendingTimer.stop();
    m_pending = false;
    QStringList selected;
    for (const design::TQelGraphicControl* object : m_page.Handle()->Selection())
        selected.append(object->objectName());
    const bool suspended = m_page.SuspendPaint();
    m_page.SetSuspendPaint(true);
    m_page.ClearAllCells();
    m_page.SetUserTitle(QString());
    QByteArray bytes = snapshot.bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        // Written without objects: they are read from their own records below.
        static_cast<void>(persist::ReadCalendar(&buffer, m_page, m_owner));
    } catch (const persist::StreamError&) {
        // The bytes were written by this program a moment ago; what was read stays.
    }
    m_page.Relayout(false);
    restoreObjects(snapshot);
    m_page.HookObjectEvents();
    m_page.Handle()->UnselectAll();
    for (design::TQelGraphicControl* object : m_page.PlacedObjects()) {
        if (selected.contains(object->objectName()) && !object->Unselectable())
            m_page.Handle()->Select(object);
    }
    m_page.SetSuspendPaint(suspended);
    m_page.update();
    m_recorded = snapshot.zoom == m_page.Zoom() ? snapshot : Take();
    m_recordedObjects = placedStates();
    m_restoring = false;
    Q_EMIT restored();
}

void DocumentHistory::restoreObjects(const DocumentSnapshot& snapshot)
{
    QList<design::TQelGraphicControl*> current = m_page.PlacedObjects();
    QList<QByteArray> records;
    for (design::TQelGraphicControl* object : current) {
        const persist::ObjRef ref = persist::ClassRegistry::Instance().RefOf(object);
        records.append(ref ? ObjectRecord(ref) : QByteArray());
    }
    // Objects whose records are unchanged stay as they are; the others are read anew.
    QList<design::TQelGraphicControl*> placed(snapshot.objects.size(), nullptr);
    for (qsizetype i = 0; i < snapshot.objects.size(); ++i) {
        const qsizetype j = records.indexOf(snapshot.objects[i]);
        if (j >= 0) {
            placed[i] = current[j];
            records[j].clear();
            current[j] = nullptr;
        }
    }
    for (design::TQelGraphicControl* gone : current) {
        if (gone) {
            m_page.Handle()->Unselect(gone);
            delete gone;
        }
    }
    for (qsizetype i = 0; i < snapshot.objects.size(); ++i) {
        if (!placed[i])
            placed[i] = ReadObjectRecord(snapshot.objects[i], m_page, m_owner);
        if (placed[i] && snapshot.zoom != m_page.Zoom()) {
            // Recorded at another zoom, the object is scaled as a zoom change scales it.
            placed[i]->SetZoomFactor(snapshot.zoom);
            placed[i]->SetZoom(m_page.Zoom());
        }
    }
    placed.removeAll(nullptr);
    if (m_page.PlacedObjects() != placed) {
        // Restacked from the top down, under the selection handle.
        QWidget* above = m_page.Handle();
        for (auto it = placed.crbegin(); it != placed.crend(); ++it) {
            (*it)->stackUnder(above);
            above = *it;
        }
    }
}

void DocumentHistory::Reset()
{
    m_pendingTimer.stop();
    m_pending = false;
    m_stack->clear();
    m_active = true;
    Rebase();
}

void DocumentHistory::Rebase()
{
    if (!m_active)
        return;
    m_recorded = Take();
    m_recordedObjects = placedStates();
}

void DocumentHistory::ChangeReported()
{
    if (m_restoring || !m_active)
        return;
    m_pending = true;
    if (!m_pendingTimer.isActive())
        m_pendingTimer.start(0);
}

void DocumentHistory::Flush()
{
    if (m_pending)
        record(QString(), true);
}

void DocumentHistory::recordPending()
{
    if (!m_pending)
        return;
    if (QApplication::activeModalWidget()) {
        m_pendingTimer.start(kModalRetryMs);
        return;
    }
    record(QString(), true);
}

bool DocumentHistory::Commit(const QString& name)
{
    return record(name, false);
}

bool DocumentHistory::record(const QString& name, bool implicit)
{
    if (!m_active || m_restoring || m_stepDepth > 0)
        return false;
    m_pendingTimer.stop();
    m_pending = false;
    DocumentSnapshot now = Take();
    if (now == m_recorded)
        return false;
    const bool hinted = implicit && m_hintAction == m_action;
    QString text = name;
    if (text.isEmpty())
        text = hinted && !m_hint.isEmpty() ? m_hint : describeChange();
    auto* command = new SnapshotCommand(*this, m_recorded, now, text, implicit ? m_action : 0,
                                        hinted ? m_mergeKey : QString());
    m_recorded = std::move(now);
    m_recordedObjects = placedStates();
    m_stack->push(command);
    return true;
}

void DocumentHistory::NextAction()
{
    Flush();
    ++m_action;
}

void DocumentHistory::SetHint(const QString& name, const QString& mergeKey)
{
    m_hint = StepName(name);
    m_mergeKey = mergeKey;
    m_hintAction = m_action;
}

void DocumentHistory::Undo()
{
    Flush();
    ++m_action;
    m_stack->undo();
}

void DocumentHistory::Redo()
{
    Flush();
    ++m_action;
    m_stack->redo();
}

QList<DocumentHistory::PlacedState> DocumentHistory::placedStates() const
{
    QList<PlacedState> states;
    for (design::TQelGraphicControl* object : m_page.PlacedObjects())
        states.append({object, object->geometry()});
    return states;
}

QString DocumentHistory::describeChange() const
{
    QSet<const QWidget*> now;
    for (const design::TQelGraphicControl* object : m_page.PlacedObjects())
        now.insert(object);
    QSet<const QWidget*> before;
    bool removed = false;
    bool moved = false;
    bool resized = false;
    for (const PlacedState& state : m_recordedObjects) {
        if (!state.object || !now.contains(state.object.data())) {
            removed = true;
            continue;
        }
        before.insert(state.object.data());
        moved = moved || state.object->pos() != state.geometry.topLeft();
        resized = resized || state.object->size() != state.geometry.size();
    }
    bool added = false;
    for (const QWidget* object : now)
        added = added || !before.contains(object);
    if (added && !removed)
        return tr("Create");
    if (removed && !added)
        return tr("Delete");
    if (resized)
        return tr("Resize");
    if (moved)
        return tr("Move");
    return tr("Change");
}

DocumentHistory::Step::Step(DocumentHistory& history, const QString& name) : m_history(history), m_name(name)
{
    m_history.Flush();
    ++m_history.m_stepDepth;
}

DocumentHistory::Step::~Step()
{
    --m_history.m_stepDepth;
    m_history.m_pending = false;
    m_history.Commit(m_name);
}

} // namespace app
