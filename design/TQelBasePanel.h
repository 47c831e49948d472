#pragma once

#include "platform/TRect.h"

#include <QImage>
#include <QList>
#include <QWidget>

#include <functional>

class QMenu;
class QPainter;
class QMouseEvent;

namespace design {

class BandOverlay;
class TQelGraphicControl;
class TQelHandle;

/**
 * The design surface that placed objects live on: the zoom factor that scales the panel and its objects, the
 * tool state's pointing flag, press-drag-release gestures (rubber-band selection, or creating an object in a
 * drawing state), the selection handle, a clipboard kept in a file, the command menu and keyboard shortcuts.
 */
class TQelBasePanel : public QWidget
{
    Q_OBJECT

public:
    explicit TQelBasePanel(QWidget* parent = nullptr);
    /** Deletes the clipboard and scratch files when the panel owns them. */
    ~TQelBasePanel() override;

    /**
     * Only the document's own page owns the clipboard and scratch files and deletes them when it goes;
     * other pages (a dialog's example, the command-line tool's) leave them alone.
     */
    void SetOwnsClipboardFile(bool owns) { m_ownsClipboardFile = owns; }
    bool OwnsClipboardFile() const { return m_ownsClipboardFile; }

    float Zoom() const { return m_zoom; }
    /**
     * Scales the panel and every placed object by x / Zoom, rounded to nearest with ties to even. A zoom
     * whose tenfold is 0 is taken as 1, so a panel never divides by zero.
     */
    void SetZoom(float x);
    bool Zooming() const { return m_zooming; }

    bool Pointing() const { return m_pointing; }

    bool SuspendPaint() const { return m_suspendPaint; }
    void SetSuspendPaint(bool suspend) { m_suspendPaint = suspend; }

    /** True while the page is printed: placed objects then report no changes. */
    bool Printing() const { return m_printing; }
    void SetPrinting(bool printing) { m_printing = printing; }

    using TNotifyEvent = std::function<void(QObject* sender)>;
    void SetLabelChangedEvent(TNotifyEvent handler) { m_labelChanged = std::move(handler); }
    /**
     * Raises LabelChangedEvent unless a zoom change is in progress; while a new object is being set up
     * (HeldChanges) the report waits for the end of the set-up.
     */
    void NotifyLabelChanged();

    /**
     * While alive, the change reports of the objects wait: a new object that its set-up dialog cancels
     * goes again without a word. Ending with Keep() called reports one change when any waited.
     */
    class HeldChanges
    {
    public:
        explicit HeldChanges(TQelBasePanel& panel);
        ~HeldChanges();
        HeldChanges(const HeldChanges&) = delete;
        HeldChanges& operator=(const HeldChanges&) = delete;
        void Keep() { m_keep = true; }

    private:
        TQelBasePanel& m_panel;
        bool m_keep = false;
    };
    using TDroppedObjectEvent = std::function<void(const platform::TRect& r)>;
    void SetDroppedObjectEvent(TDroppedObjectEvent handler) { m_dropped = std::move(handler); }

    /** The placed objects on the panel, in child order (bottom of the stacking order first). */
    QList<TQelGraphicControl*> PlacedObjects() const;
    /**
     * Makes a new object a child of the panel at the rectangle, at least 10 wide and 15 high, named "Special"
     * with the lowest free number, at the panel's zoom; then reports the change.
     */
    void AddObject(TQelGraphicControl* object, const platform::TRect& rect);
    /** Gives every placed object the panel's zoom (after paste, clone or reading a file). */
    void HookObjectEvents();
    /** Unselects everything and destroys every placed object, the last child first. */
    void ClearObjects();
    /** True when some placed object's bounds contain the panel point. */
    bool AnyObjectAt(int x, int y) const;
    /** "Special" or "Component" followed by the lowest number in [first, 1000] no component of owner bears.
     */
    static QString FreeName(const QObject* owner, const QString& stem, int first);

    TQelHandle* Handle() const { return m_handle; }
    /** The component that owns placed objects: the panel's parent (the main window), or the panel itself. */
    QObject* Owner() const;

    // Gestures; points are in panel coordinates.
    void PanelPress(QPoint point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void PanelMove(QPoint point);
    void PanelRelease(QPoint point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    /** A press on a placed object: selects it (Shift adds), or starts a band in a drawing state. */
    void ObjectMouseDown(TQelGraphicControl* object, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                         QPoint point, QPoint globalPoint);
    void ObjectDoubleClick(TQelGraphicControl* object, QPoint globalPoint);
    /** Selects the placed objects the rectangle touches; with Shift held they toggle against the selection.
     */
    void SelectInRect(const QRect& band, bool shift);
    /** Shows the object's menu, or the panel's command menu when there is no object. */
    void PopupMenuFor(TQelGraphicControl* object, QPoint globalPoint);
    QMenu* CommandMenu() const { return m_commandMenu; }
    /** Enables the command menu's items for the current selection, as before it opens. */
    void UpdateCommandMenu();

    /** The rubber band or drag outline: a dotted rectangle drawn inverting what lies below. */
    void ShowBand(const QRect& rect);
    void HideBand();
    QRect Band() const;

    enum ClipboardKind
    {
        Cut,
        Copy,
        Paste,
        Delete,
    };
    /**
     * Cut, copy, paste or delete the selection, through a clipboard file in the program folder. A clipboard
     * file that cannot be written or read is reported in an information box and changes nothing.
     */
    void ClipboardAction(ClipboardKind kind);
    /** The same for one object, from its own menu. */
    void ObjectClipboardAction(TQelGraphicControl* object, ClipboardKind kind);
    QString ClipboardPath() const;

    void PullObjectsOntoPage();
    void RemoveStrayObjects();
    /** Prints every placed object, in child order (origin in inches on the printer's page). */
    void PrintObjects(QPainter& painter, double originX, double originY);
    /** Called after an object was cloned; nothing in the base. */
    virtual void ObjectCloned() {}

    // The base panel's own picture: a background clipped to a shape, an outline and a dot grid.
    enum TLabelShapeType
    {
        lsRectangle,
        lsRoundRect,
        lsEllipse,
    };
    enum TGridSize
    {
        gs4x4,
        gs8x8,
    };
    bool DrawOutline() const { return m_drawOutline; }
    void SetDrawOutline(bool on);
    TLabelShapeType Shape() const { return m_shape; }
    void SetShape(TLabelShapeType shape);
    TGridSize GridSize() const { return m_gridSize; }
    void SetGridSize(TGridSize size);
    bool ShowGrid() const { return m_showGrid; }
    void SetShowGrid(bool on);
    bool SnapToGrid() const { return m_snapToGrid; }
    void SetSnapToGrid(bool on);
    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);
    const QImage& ColorPicture() const { return m_colorPicture; }
    void SetColorPicture(const QImage& picture);

protected:
    void SetPointing(bool pointing) { m_pointing = pointing; }
    /** Called after the zoom changed, before pending events are processed. */
    virtual void ZoomChanged() {}
    /**
     * Creates an object of the current tool for a drawing gesture's rectangle; nothing in the base. True when
     * an object was placed (DroppedObjectEvent follows), false when none was or its set-up was cancelled.
     */
    virtual bool CreateObjectInRect(const platform::TRect& rect)
    {
        Q_UNUSED(rect);
        return false;
    }
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildCommandMenu();
    void handlePressed(QMouseEvent* event);
    void alignSelection(int which);
    /** The "Font" command: the font dialog on the selection's font; the selected objects take the choice. */
    void fontCommand();
    /** Writes the clipboard file; throws the stream's error. */
    void writeClipboard(const QList<TQelGraphicControl*>& objects);
    /** Writes the clipboard file, reporting a failure to the user; false when it failed. */
    bool copyToClipboard(const QList<TQelGraphicControl*>& objects);
    /** Pastes the clipboard file; a file that cannot be read is reported and pastes nothing. */
    void pasteClipboard(bool guarded);

    float m_zoom = 1.0f;
    bool m_zooming = false;
    bool m_pointing = true;
    bool m_suspendPaint = false;
    bool m_printing = false;
    bool m_ownsClipboardFile = false;
    int m_holdingChanges = 0;
    bool m_heldChange = false;
    TNotifyEvent m_labelChanged;
    TDroppedObjectEvent m_dropped;
    TQelHandle* m_handle = nullptr;
    BandOverlay* m_band = nullptr;
    QMenu* m_commandMenu = nullptr;
    QPoint m_bandStart;
    QPoint m_bandEnd;
    bool m_bandDragging = false;
    qint64 m_lastPaste = 0;
    bool m_drawOutline = false;
    TLabelShapeType m_shape = lsRoundRect;
    TGridSize m_gridSize = gs4x4;
    bool m_showGrid = false;
    bool m_snapToGrid = false;
    QImage m_picture;
    QImage m_colorPicture;
};

} // namespace design
