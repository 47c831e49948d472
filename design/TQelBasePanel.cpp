#include "design/TQelBasePanel.h"

#include "design/PlacedObjectClasses.h"
#include "design/TQelGraphicControl.h"
#include "design/TQelHandle.h"
#include "persist/stream/ClassRegistry.h"
#include "persist/stream/StreamError.h"
#include "persist/stream/TReader.h"
#include "persist/stream/TWriter.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/SaveFile.h"
#include "platform/TFont.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <utility>

namespace design {

namespace {

// Two pastes closer than this are taken as one (a key held down or a double shortcut).
constexpr qint64 kPasteGuardMs = 1000;
constexpr int kPasteOffset = 15;

qint64 Ticks()
{
    return platform::TickCount() + 1;
}

} // namespace

/** Draws the rubber band over everything on the panel, inverting the pixels below its dotted line. */
class BandOverlay : public QWidget
{
public:
    explicit BandOverlay(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }
    QRect band;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (band.isNull())
            return;
        QPainter painter(this);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(band.normalized());
    }
};

TQelBasePanel::TQelBasePanel(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    setFocusPolicy(Qt::ClickFocus);
    m_handle = new TQelHandle(this);
    m_band = new BandOverlay(this);
    connect(m_handle, &TQelHandle::pressed, this, [this](QMouseEvent* e) { handlePressed(e); });
    connect(m_handle, &TQelHandle::doubleClicked, this,
            [this](QMouseEvent* e) { ObjectDoubleClick(nullptr, e->globalPosition().toPoint()); });
    connect(m_handle, &TQelHandle::keyPressed, this, [this](QKeyEvent* e) { keyPressEvent(e); });
    buildCommandMenu();
}

TQelBasePanel::~TQelBasePanel()
{
    if (!m_ownsClipboardFile)
        return;
    QFile::remove(ClipboardPath());
    QFile::remove(platform::ProgramFolder() + QStringLiteral("TempFile.tmp"));
}

void TQelBasePanel::SetZoom(float x)
{
    if (x == m_zoom)
        return;
    m_zooming = true;
    if (m_zoom * 10 == 0)
        m_zoom = 1.0f;
    const float f = x / m_zoom;
    const int w = static_cast<int>(std::nearbyint(double(width()) * double(f)));
    const int h = static_cast<int>(std::nearbyint(double(height()) * double(f)));
    resize(w, h);
    m_zoom = x;
    for (TQelGraphicControl* object : PlacedObjects())
        object->SetZoom(x);
    ZoomChanged();
    m_handle->FitToSelection();
    update();
    QCoreApplication::processEvents();
    m_zooming = false;
}

void TQelBasePanel::NotifyLabelChanged()
{
    if (m_holdingChanges > 0) {
        m_heldChange = true;
        return;
    }
    if (!m_zooming && m_labelChanged)
        m_labelChanged(this);
}

TQelBasePanel::HeldChanges::HeldChanges(TQelBasePanel& panel) : m_panel(panel)
{
    ++m_panel.m_holdingChanges;
}

TQelBasePanel::HeldChanges::~HeldChanges()
{
    if (--m_panel.m_holdingChanges > 0)
        return;
    if (std::exchange(m_panel.m_heldChange, false) && m_keep)
        m_panel.NotifyLabelChanged();
}

QObject* TQelBasePanel::Owner() const
{
    return parent() ? parent() : const_cast<TQelBasePanel*>(this);
}

QList<TQelGraphicControl*> TQelBasePanel::PlacedObjects() const
{
    QList<TQelGraphicControl*> objects;
    for (QObject* child : children()) {
        if (auto* object = qobject_cast<TQelGraphicControl*>(child))
            objects.append(object);
    }
    return objects;
}

QString TQelBasePanel::FreeName(const QObject* owner, const QString& stem, int first)
{
    for (int n = first; n <= 1000; ++n) {
        const QString name = stem + QString::number(n);
        if (!owner || !owner->findChild<QObject*>(name, Qt::FindChildrenRecursively))
            return name;
    }
    return QString();
}

void TQelBasePanel::AddObject(TQelGraphicControl* object, const platform::TRect& rect)
{
    object->hide();
    object->setParent(this);
    object->setObjectName(FreeName(Owner(), QStringLiteral("Special"), 1));
    object->setGeometry(rect.left, rect.top, std::max(10, rect.width()), std::max(15, rect.height()));
    object->SetZoomFactor(m_zoom);
    object->show();
    m_band->raise();
    NotifyLabelChanged();
    QCoreApplication::processEvents();
}

void TQelBasePanel::HookObjectEvents()
{
    const QList<TQelGraphicControl*> objects = PlacedObjects();
    for (auto it = objects.crbegin(); it != objects.crend(); ++it)
        (*it)->SetZoomFactor(m_zoom);
}

void TQelBasePanel::ClearObjects()
{
    m_handle->UnselectAll();
    const QList<TQelGraphicControl*> objects = PlacedObjects();
    for (auto it = objects.crbegin(); it != objects.crend(); ++it)
        delete *it;
}

bool TQelBasePanel::AnyObjectAt(int x, int y) const
{
    for (const TQelGraphicControl* object : PlacedObjects()) {
        if (object->geometry().contains(x, y))
            return true;
    }
    return false;
}

// ---- the rubber band

void TQelBasePanel::ShowBand(const QRect& rect)
{
    m_band->setGeometry(0, 0, width(), height());
    m_band->band = rect;
    m_band->show();
    m_band->raise();
    m_band->update();
}

void TQelBasePanel::HideBand()
{
    m_band->band = QRect();
    m_band->hide();
}

QRect TQelBasePanel::Band() const
{
    return m_band->band;
}

void TQelBasePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_band->setGeometry(0, 0, width(), height());
}

// ---- gestures

void TQelBasePanel::PanelPress(QPoint point, Qt::MouseButton button, Qt::KeyboardModifiers)
{
    m_bandStart = m_bandEnd = point;
    if (button != Qt::LeftButton) {
        PopupMenuFor(nullptr, mapToGlobal(point));
        return;
    }
    m_bandDragging = true;
    setCursor(Qt::PointingHandCursor);
}

void TQelBasePanel::PanelMove(QPoint point)
{
    if (!m_bandDragging)
        return;
    m_bandEnd = point;
    ShowBand(QRect(m_bandStart, m_bandEnd).normalized());
}

void TQelBasePanel::PanelRelease(QPoint point, Qt::MouseButton, Qt::KeyboardModifiers modifiers)
{
    if (!m_bandDragging)
        return;
    m_bandDragging = false;
    Q_UNUSED(point);
    // The band's corners may come in any order: its rectangle is the same either way.
    const platform::TRect band{
        std::min(m_bandStart.x(), m_bandEnd.x()), std::min(m_bandStart.y(), m_bandEnd.y()),
        std::max(m_bandStart.x(), m_bandEnd.x()), std::max(m_bandStart.y(), m_bandEnd.y())};
    HideBand();
    if (Pointing()) {
        SelectInRect(QRect(band.left, band.top, band.width() + 1, band.height() + 1),
                     modifiers & Qt::ShiftModifier);
        m_handle->update();
        unsetCursor();
    } else if (CreateObjectInRect(band) && m_dropped) {
        m_dropped(band);
    }
}

void TQelBasePanel::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    PanelPress(event->position().toPoint(), event->button(), event->modifiers());
}

void TQelBasePanel::mouseMoveEvent(QMouseEvent* event)
{
    PanelMove(event->position().toPoint());
}

void TQelBasePanel::mouseReleaseEvent(QMouseEvent* event)
{
    PanelRelease(event->position().toPoint(), event->button(), event->modifiers());
}

void TQelBasePanel::ObjectMouseDown(TQelGraphicControl* object, Qt::MouseButton button,
                                    Qt::KeyboardModifiers modifiers, QPoint point, QPoint globalPoint)
{
    if (!Pointing() || object->Unselectable()) {
        PanelPress(point, button, modifiers);
        return;
    }
    if (!(modifiers & Qt::ShiftModifier))
        m_handle->UnselectAll();
    m_handle->Select(object);
    m_handle->update();
    if (m_handle->SelectedCount() == 1 && button == Qt::RightButton)
        PopupMenuFor(object, globalPoint);
}

void TQelBasePanel::ObjectDoubleClick(TQelGraphicControl* object, QPoint globalPoint)
{
    if (object) {
        PopupMenuFor(object, globalPoint);
        return;
    }
    // On the handle: the one selected object under the cursor.
    if (m_handle->SelectedCount() != 1)
        return;
    TQelGraphicControl* selected = m_handle->Selected(0);
    if (!selected || !selected->geometry().adjusted(-2, -2, 2, 2).contains(mapFromGlobal(globalPoint)))
        return;
    if (selected->DoubleClickRequest())
        selected->DoubleClickRequest()(this);
    else
        PopupMenuFor(selected, globalPoint);
}

void TQelBasePanel::handlePressed(QMouseEvent* event)
{
    if (!(event->modifiers() & Qt::ShiftModifier) || !Pointing())
        return;
    // Shift on a sizing square (a single selection's) resizes keeping the proportions; it does not unselect.
    if (m_handle->CurrentZone() != TQelHandle::Move)
        return;
    // Shift+click on the handle drops the objects under the point from the selection.
    const QPoint point = event->position().toPoint() + m_handle->pos();
    QList<TQelGraphicControl*> keep = m_handle->Selection();
    m_handle->UnselectAll();
    QCoreApplication::processEvents();
    keep.removeIf([point](TQelGraphicControl* o) { return o->geometry().contains(point); });
    for (TQelGraphicControl* o : keep)
        m_handle->Select(o);
}

void TQelBasePanel::SelectInRect(const QRect& band, bool shift)
{
    QList<TQelGraphicControl*> list = shift ? m_handle->Selection() : QList<TQelGraphicControl*>();
    m_handle->UnselectAll();
    const QList<TQelGraphicControl*> objects = PlacedObjects();
    for (auto it = objects.crbegin(); it != objects.crend(); ++it) {
        if (!(*it)->geometry().intersects(band))
            continue;
        if (shift && list.contains(*it))
            list.removeOne(*it);
        else
            list.append(*it);
    }
    for (TQelGraphicControl* o : list)
        m_handle->Select(o);
}

void TQelBasePanel::PopupMenuFor(TQelGraphicControl* object, QPoint globalPoint)
{
    if (object && object->Menu()) {
        object->UpdateMenuChecks();
        object->Menu()->popup(globalPoint);
        return;
    }
    UpdateCommandMenu();
    m_commandMenu->popup(globalPoint);
}

// ---- keyboard

void TQelBasePanel::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() == Qt::Key_C)
            ClipboardAction(Copy);
        else if (event->key() == Qt::Key_V)
            ClipboardAction(Paste);
        else if (event->key() == Qt::Key_X)
            ClipboardAction(Cut);
        return;
    }
    if (event->key() == Qt::Key_Delete)
        ClipboardAction(Delete);
}

// ---- clipboard

QString TQelBasePanel::ClipboardPath() const
{
    return platform::ProgramFolder() + QStringLiteral("Clipbrd.tmp");
}

void TQelBasePanel::writeClipboard(const QList<TQelGraphicControl*>& objects)
{
    platform::SaveFile file(ClipboardPath());
    if (!file.open(QIODevice::WriteOnly))
        throw persist::StreamError(persist::kStreamWriteError);
    persist::TWriter writer(&file);
    writer.BeginList();
    for (TQelGraphicControl* object : objects)
        writer.PutRootRecord(persist::ClassRegistry::Instance().RefOf(object));
    writer.EndList();
    writer.Flush();
    if (!file.commit())
        throw persist::StreamError(persist::kStreamWriteError);
}

void TQelBasePanel::pasteClipboard(bool guarded)
{
    const qint64 now = Ticks();
    if (guarded) {
        if (m_lastPaste != 0 && now - m_lastPaste < kPasteGuardMs)
            return;
        if (m_lastPaste == 0)
            m_lastPaste = now;
    }
    QFile file(ClipboardPath());
    if (!file.exists())
        return;
    const QList<TQelGraphicControl*> before = PlacedObjects();
    try {
        if (!file.open(QIODevice::ReadOnly))
            throw persist::StreamError(persist::kStreamReadError);
        QObject* owner = Owner();
        persist::TReader reader(&file);
        reader.SetNameHook([owner](const persist::ObjRef&, QString& name) {
            name = FreeName(owner, QStringLiteral("Component"), 0);
        });
        reader.SetMethodHook([](const QString&, bool& error) { error = false; });
        reader.ExpectBeginList();
        reader.TakeRecordList(owner, persist::ObjRef{static_cast<QObject*>(this), &PanelClass()},
                              [](const persist::ObjRef& o) {
                                  auto* object = ObjectOf<TQelGraphicControl>(o.object);
                                  object->move(object->x(), object->y() + kPasteOffset);
                                  object->move(object->x() + kPasteOffset, object->y());
                              });
        reader.ExpectEndList();
    } catch (const persist::StreamError& e) {
        // A damaged clipboard file pastes nothing: the objects read before the fault go again.
        for (TQelGraphicControl* object : PlacedObjects()) {
            if (!before.contains(object))
                delete object;
        }
        platform::Prompts::Current().Information(
            this, tr("Unable to paste from %1\n%2").arg(file.fileName(), e.message()));
        return;
    }
    HookObjectEvents();
    // The pasted objects become the selection, as every new object does.
    m_handle->UnselectAll();
    for (TQelGraphicControl* object : PlacedObjects()) {
        if (!before.contains(object))
            m_handle->Select(object);
    }
    NotifyLabelChanged();
    QCoreApplication::processEvents();
    m_lastPaste = Ticks();
}

bool TQelBasePanel::copyToClipboard(const QList<TQelGraphicControl*>& objects)
{
    try {
        writeClipboard(objects);
        return true;
    } catch (const persist::StreamError& e) {
        platform::Prompts::Current().Information(
            this, tr("Unable to save %1\n%2").arg(ClipboardPath(), e.message()));
        return false;
    }
}

void TQelBasePanel::ClipboardAction(ClipboardKind kind)
{
    const QList<TQelGraphicControl*> selection = m_handle->Selection();
    switch (kind) {
    case Cut:
    case Copy:
        // A cut whose copy could not be written deletes nothing.
        if (selection.isEmpty() || !copyToClipboard(selection) || kind == Copy)
            return;
        [[fallthrough]];
    case Delete:
        for (auto it = selection.crbegin(); it != selection.crend(); ++it) {
            m_handle->Unselect(*it);
            delete *it;
            NotifyLabelChanged();
        }
        return;
    case Paste:
        pasteClipboard(true);
        return;
    }
}

void TQelBasePanel::ObjectClipboardAction(TQelGraphicControl* object, ClipboardKind kind)
{
    if (m_handle->IndexOfSelected(object) >= 0) {
        ClipboardAction(kind);
        return;
    }
    if (kind == Paste) {
        pasteClipboard(false);
        return;
    }
    if ((kind == Cut || kind == Copy) && !copyToClipboard({object}))
        return;
    if (kind == Cut || kind == Delete) {
        NotifyLabelChanged();
        m_handle->Unselect(object);
        delete object;
    }
}

void TQelBasePanel::PullObjectsOntoPage()
{
    m_handle->UnselectAll();
    for (TQelGraphicControl* o : PlacedObjects()) {
        if (o->y() > height() - 10)
            o->move(o->x(), height() - 10);
        if (o->x() > width() - 20)
            o->move(width() - 20, o->y());
    }
}

void TQelBasePanel::RemoveStrayObjects()
{
    m_handle->UnselectAll();
    const QList<TQelGraphicControl*> objects = PlacedObjects();
    for (auto it = objects.crbegin(); it != objects.crend(); ++it) {
        TQelGraphicControl* o = *it;
        if (o->y() > height() - 10 || o->x() > width() - 10 || o->width() < 1 || o->height() < 1)
            delete o;
    }
}

void TQelBasePanel::PrintObjects(QPainter& painter, double originX, double originY)
{
    for (TQelGraphicControl* o : PlacedObjects())
        o->PrintTo(painter, originX, originY);
}

// ---- the base picture

void TQelBasePanel::SetDrawOutline(bool on)
{
    m_drawOutline = on;
    update();
}

void TQelBasePanel::SetShape(TLabelShapeType shape)
{
    if (shape == m_shape)
        return;
    m_shape = shape;
    update();
}

void TQelBasePanel::SetGridSize(TGridSize size)
{
    if (size == m_gridSize)
        return;
    m_gridSize = size;
    const int step = size == gs4x4 ? 4 : 8;
    m_handle->SetGridX(step);
    m_handle->SetGridY(step);
    m_handle->SetSnapToGrid(m_snapToGrid);
    update();
}

void TQelBasePanel::SetShowGrid(bool on)
{
    if (on == m_showGrid)
        return;
    m_showGrid = on;
    update();
}

void TQelBasePanel::SetSnapToGrid(bool on)
{
    m_snapToGrid = on;
    const int step = m_gridSize == gs4x4 ? 4 : 8;
    m_handle->SetGridX(step);
    m_handle->SetGridY(step);
    m_handle->SetSnapToGrid(on);
}

void TQelBasePanel::SetPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void TQelBasePanel::SetColorPicture(const QImage& picture)
{
    m_colorPicture = picture;
    update();
}

void TQelBasePanel::paintEvent(QPaintEvent*)
{
    if (m_suspendPaint)
        return;
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterPath shape;
    const QRectF extent(0, 0, width() + 1, height() + 1);
    if (m_shape == lsRectangle)
        shape.addRect(extent);
    else if (m_shape == lsRoundRect)
        shape.addRoundedRect(extent, 12, 12);
    else
        shape.addEllipse(extent);
    painter.setClipPath(shape);
    for (const QImage* picture : {&m_picture, &m_colorPicture}) {
        if (!picture->isNull())
            painter.drawImage(QRect(0, 0, width(), height()), *picture);
    }
    if (m_showGrid) {
        // A dark green dot every 4 or 8 pixels, at 2 past each multiple.
        const int step = m_gridSize == gs4x4 ? 4 : 8;
        for (int y = 2; y < height(); y += step)
            for (int x = 2; x < width(); x += step)
                painter.fillRect(x, y, 1, 1, QColor(0, 128, 0));
    }
    painter.setClipping(false);
    if (m_drawOutline) {
        painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        const QRect r(0, 0, width() - 1, height() - 1);
        if (m_shape == lsRectangle)
            painter.drawRect(r);
        else if (m_shape == lsRoundRect)
            painter.drawRoundedRect(r, 12, 12);
        else
            painter.drawEllipse(r);
    }
    painter.end();
    QPainter(this).drawImage(0, 0, image);
}

// ---- the command menu

void TQelBasePanel::buildCommandMenu()
{
    m_commandMenu = new QMenu(this);
    auto add = [this](const QString& caption, const char* name, auto slot) {
        QAction* action = m_commandMenu->addAction(caption, this, slot);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    add(tr("Bring To Front"), "mnuBringToFront", [this] {
        if (m_handle->SelectedCount() > 0) {
            m_handle->BringSelectionToFront();
            NotifyLabelChanged();
        }
    });
    add(tr("Send To Back"), "mnuSendToBack", [this] {
        if (m_handle->SelectedCount() > 0) {
            m_handle->SendSelectionToBack();
            m_handle->UnselectAll();
            NotifyLabelChanged();
        }
    });
    m_commandMenu->addSeparator();
    add(tr("Cut"), "mnuCut", [this] { ClipboardAction(Cut); });
    add(tr("Copy"), "mnuCopy", [this] { ClipboardAction(Copy); });
    add(tr("Paste"), "mnuPaste", [this] { ClipboardAction(Paste); });
    m_commandMenu->addSeparator();
    add(tr("Delete"), "mnuDelete", [this] { ClipboardAction(Delete); });
    m_commandMenu->addSeparator();
    add(tr("Align Left"), "mnuAlignLeft", [this] { alignSelection(0); });
    add(tr("Align Right"), "mnuAlignRight", [this] { alignSelection(1); });
    add(tr("Align Tops"), "mnuAlignTops", [this] { alignSelection(2); });
    add(tr("Align Bottoms"), "mnuAlignBottoms", [this] { alignSelection(3); });
    m_commandMenu->addSeparator();
    add(tr("Center Vertically"), "mnuCenterVertically", [this] {
        for (TQelGraphicControl* o : m_handle->Selection())
            o->CenterVertically();
        update();
    });
    add(tr("Center Horizontally"), "mnuCenterHorizontally", [this] {
        for (TQelGraphicControl* o : m_handle->Selection())
            o->CenterHorizontally();
        update();
    });
    m_commandMenu->addSeparator();
    add(tr("Lock All"), "mnuLockAll", [this] {
        for (TQelGraphicControl* o : PlacedObjects())
            o->SetLocked(true);
    });
    add(tr("Unlock All"), "mnuUnlockAll", [this] {
        for (TQelGraphicControl* o : PlacedObjects())
            o->SetLocked(false);
    });
    m_commandMenu->addSeparator();
    add(tr("Mark All Selectable"), "mnuMarkAllSelectable", [this] {
        for (TQelGraphicControl* o : PlacedObjects())
            o->SetUnselectable(false);
    });
    add(tr("Mark All Unselectable"), "mnuMarkAllUnselectable", [this] {
        for (TQelGraphicControl* o : PlacedObjects())
            o->SetUnselectable(true);
    });
    add(tr("Select All"), "mnuSelectAll", [this] {
        m_handle->UnselectAll();
        for (TQelGraphicControl* o : PlacedObjects())
            m_handle->Select(o);
    });
    m_commandMenu->addSeparator();
    add(tr("Font"), "mnuFont", [this] { fontCommand(); });
    connect(m_commandMenu, &QMenu::aboutToShow, this, [this] { UpdateCommandMenu(); });
}

void TQelBasePanel::fontCommand()
{
    const QList<TQelGraphicControl*> selection = m_handle->Selection();
    if (selection.isEmpty())
        return;
    // The dialog opens on the font of the first selected object that has one.
    platform::FontChoice initial{font(), platform::clWindowText};
    for (const TQelGraphicControl* o : selection) {
        if (const platform::TFont* objectFont = o->ObjectFont()) {
            initial = platform::FontForDialog(*objectFont);
            break;
        }
    }
    const std::optional<platform::FontChoice> chosen =
        platform::Prompts::Current().ChooseFont(this, initial, {});
    if (!chosen)
        return;
    for (TQelGraphicControl* o : selection) {
        platform::TFont objectFont;
        platform::FontChoice forObject = *chosen;
        if (const platform::TFont* current = o->ObjectFont()) {
            objectFont.Assign(*current);
            // Each object keeps its own colour unless a colour was chosen.
            if (chosen->color == initial.color)
                forObject.color = current->Color();
        }
        platform::TakeDialogFont(objectFont, forObject);
        o->SetObjectFont(objectFont);
    }
    update();
}

void TQelBasePanel::UpdateCommandMenu()
{
    const bool any = m_handle->SelectedCount() > 0;
    for (const char* name : {"mnuBringToFront", "mnuSendToBack", "mnuCut", "mnuCopy", "mnuDelete",
                             "mnuAlignLeft", "mnuAlignRight", "mnuAlignTops", "mnuAlignBottoms",
                             "mnuCenterVertically", "mnuCenterHorizontally", "mnuFont"}) {
        if (QAction* a = m_commandMenu->findChild<QAction*>(QLatin1String(name)))
            a->setEnabled(any);
    }
    if (QAction* a = m_commandMenu->findChild<QAction*>(QStringLiteral("mnuPaste")))
        a->setEnabled(QFile::exists(ClipboardPath()));
    // The handle counts as one child control: locking needs at least one placed object.
    const bool objects = !PlacedObjects().isEmpty();
    for (const char* name : {"mnuLockAll", "mnuUnlockAll"}) {
        if (QAction* a = m_commandMenu->findChild<QAction*>(QLatin1String(name)))
            a->setEnabled(objects);
    }
}

void TQelBasePanel::alignSelection(int which)
{
    const QList<TQelGraphicControl*> selection = m_handle->Selection();
    if (selection.isEmpty())
        return;
    NotifyLabelChanged();
    int m = which == 0 ? width() : which == 2 ? height() : 0;
    for (const TQelGraphicControl* o : selection) {
        switch (which) {
        case 0:
            m = std::min(m, o->x());
            break;
        case 1:
            m = std::max(m, o->x() + o->width());
            break;
        case 2:
            m = std::min(m, o->y());
            break;
        default:
            m = std::max(m, o->y() + o->height());
            break;
        }
    }
    for (TQelGraphicControl* o : selection) {
        switch (which) {
        case 0:
            o->move(m, o->y());
            break;
        case 1:
            o->move(m - o->width(), o->y());
            break;
        case 2:
            o->move(o->x(), m);
            break;
        default:
            o->move(o->x(), m - o->height());
            break;
        }
    }
    m_handle->FitToSelection();
    update();
}

} // namespace design
