#include "controls/TIconListBox.h"

#include "platform/ImageLoader.h"

#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace controls {

namespace {

/** Draws an item: the list's background and the icon centred, extracted on first use. */
class IconDelegate : public QStyledItemDelegate
{
public:
    explicit IconDelegate(TIconListBox* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect r = option.rect;
        painter->fillRect(r, m_list->palette().brush(QPalette::Base));
        if (option.state & QStyle::State_Selected)
            painter->fillRect(r, m_list->palette().brush(QPalette::Highlight));
        const QImage icon = m_list->Icon(index.row());
        if (icon.isNull())
            return;
        painter->drawImage(
            QPoint(r.left() + (r.width() - icon.width()) / 2, r.top() + (r.height() - icon.height()) / 2),
            icon);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(m_list->ColumnWidth(), m_list->ItemHeight());
    }

private:
    TIconListBox* m_list;
};

} // namespace

TIconListBox::TIconListBox(QWidget* parent) : QListWidget(parent)
{
    // Columns of items filled top to bottom, scrolled sideways, as a multi-column list box.
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new IconDelegate(this));
    setGridSize(QSize(ColumnWidth(), ItemHeight()));
}

int TIconListBox::ItemHeight() const
{
    return platform::SystemIconSize() + Margin();
}

int TIconListBox::ColumnWidth() const
{
    return platform::SystemIconSize() + Margin();
}

void TIconListBox::SetFileName(const QString& fileName)
{
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;
    readIcons();
    Q_EMIT fileChange();
}

void TIconListBox::readIcons()
{
    m_icons.clear();
    m_numberOfIcons = -1;
    clear();
    const bool exists = QFileInfo(m_fileName).isFile();
    setEnabled(m_autoDisable ? exists : true);
    if (!exists) {
        m_library = platform::IconLibrary();
        return;
    }
    if (!m_enableCaching)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    m_library.Open(m_fileName);
    m_numberOfIcons = m_library.Count();
    for (int i = 0; i < m_numberOfIcons; ++i) {
        addItem(QString::number(i));
        if (!m_enableCaching)
            Icon(i);
    }
    if (count() > 0)
        setCurrentRow(0);
    if (!m_enableCaching)
        QApplication::restoreOverrideCursor();
}

QImage TIconListBox::Icon(int index)
{
    if (index < 0 || index >= m_numberOfIcons)
        return {};
    const auto it = m_icons.constFind(index);
    if (it != m_icons.constEnd())
        return *it;
    const QImage icon = m_library.Icon(index, platform::SystemIconSize());
    m_icons.insert(index, icon);
    return icon;
}

QImage TIconListBox::SelectedIcon()
{
    return Icon(currentRow());
}

void TIconListBox::SetXIcons(int columns)
{
    if (columns < 1)
        return;
    m_xIcons = columns;
    applySize();
}

void TIconListBox::SetYIcons(int rows)
{
    if (rows < 1)
        return;
    m_yIcons = rows;
    applySize();
}

void TIconListBox::applySize()
{
    setGridSize(QSize(ColumnWidth(), ItemHeight()));
    const int w = ColumnWidth() * m_xIcons + 2;
    // A list narrower than its columns shows a scroll bar below them.
    const int h = width() < w ? ItemHeight() * m_yIcons + horizontalScrollBar()->sizeHint().height() + 1
                              : ItemHeight() * m_yIcons + 3;
    resize(w, h);
}

void TIconListBox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    m_pressed = event->button() == Qt::LeftButton && itemAt(event->position().toPoint());
    m_pressAt = event->position().toPoint();
}

void TIconListBox::mouseMoveEvent(QMouseEvent* event)
{
    // The drag starts as soon as the mouse moves with the button held on an icon.
    if (m_pressed && (event->buttons() & Qt::LeftButton) && event->position().toPoint() != m_pressAt) {
        m_pressed = false;
        startDrag();
        return;
    }
    QListWidget::mouseMoveEvent(event);
}

QMimeData* TIconListBox::DragData()
{
    const QImage icon = SelectedIcon();
    if (icon.isNull())
        return nullptr;
    auto* data = new QMimeData;
    data->setImageData(icon);
    data->setData(IconMimeType(), (m_fileName + u'\n' + QString::number(currentRow())).toUtf8());
    return data;
}

void TIconListBox::startDrag()
{
    QMimeData* data = DragData();
    if (!data)
        return;
    const QImage icon = SelectedIcon();
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(QPixmap::fromImage(icon));
    drag->setHotSpot(QPoint(icon.width() / 2, icon.height() / 2));
    drag->exec(Qt::CopyAction);
}

void TQelIconListBox::SetOrientation(int orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    viewport()->update();
}

} // namespace controls
