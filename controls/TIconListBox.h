#pragma once

#include "platform/IconLibrary.h"

#include <QHash>
#include <QImage>
#include <QListWidget>

class QMimeData;

namespace controls {

/**
 * A list of the icons of one icon file, in columns, each item captioned with its icon index ("0", "1", ...).
 * The icons are taken out of the file when first drawn (EnableCaching) or all at once. A press and a move on
 * an icon drags it: the drag carries the icon as an image, which day cells and the cell editor accept.
 */
class TIconListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit TIconListBox(QWidget* parent = nullptr);

    QString FileName() const { return m_fileName; }
    /** Reads the file's icons when the name differs from the current one, then reports the change. */
    void SetFileName(const QString& fileName);
    /** -1 before a file was read (also for a missing file), 0 for a file without icons. */
    int NumberOfIcons() const { return m_numberOfIcons; }
    /** What kept the file's icons from being read whole (None after a whole read or before any). */
    platform::IconLibrary::Problem LibraryProblem() const { return m_library.GetProblem(); }
    /** The reason to show for LibraryProblem(). */
    QString LibraryError() const { return m_library.ErrorString(); }
    bool AutoDisable() const { return m_autoDisable; }
    void SetAutoDisable(bool on) { m_autoDisable = on; }
    bool EnableCaching() const { return m_enableCaching; }
    void SetEnableCaching(bool on) { m_enableCaching = on; }
    int XIcons() const { return m_xIcons; }
    void SetXIcons(int columns);
    int YIcons() const { return m_yIcons; }
    void SetYIcons(int rows);
    static QString Version() { return QStringLiteral("TIconListBox v1.10"); }

    /** Icon i of the file, extracted now if not yet kept; a null image for a bad index. */
    QImage Icon(int index);
    /** Whether icon i has been extracted and kept. */
    bool HasIcon(int index) const { return m_icons.contains(index); }
    /** The icon of the selected item (what a drag carries). */
    QImage SelectedIcon();
    int ItemHeight() const;
    int ColumnWidth() const;

    /** What a drag of the selected icon carries: the icon as an image, and its file and index. */
    QMimeData* DragData();
    /** The mime type of a dragged icon: its file and index, beside the image itself. */
    static QString IconMimeType() { return QStringLiteral("application/x-datoria-icon"); }

Q_SIGNALS:
    /** FileName changed and the icons were read. */
    void fileChange();

protected:
    /** Pixels around an icon in its item. */
    virtual int Margin() const { return 6; }
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void applySize();

private:
    void readIcons();
    void startDrag();

    QString m_fileName;
    int m_numberOfIcons = -1;
    bool m_autoDisable = true;
    bool m_enableCaching = true;
    int m_xIcons = 4;
    int m_yIcons = 1;
    platform::IconLibrary m_library;
    QHash<int, QImage> m_icons;
    QPoint m_pressAt;
    bool m_pressed = false;
};

/** The icon list with narrower items (icon size + 2) and an orientation; a drag source like TIconListBox. */
class TQelIconListBox : public TIconListBox
{
    Q_OBJECT

public:
    using TIconListBox::TIconListBox;
    int Orientation() const { return m_orientation; }
    void SetOrientation(int orientation);

protected:
    int Margin() const override { return 2; }

private:
    int m_orientation = 1;
};

} // namespace controls
