#include "design/TQelImage.h"

#include "design/PlacedObjectClasses.h"
#include "design/TQelBasePanel.h"
#include "design/TQelImageBrowser.h"
#include "platform/Prompts.h"
#include "platform/Screen.h"

#include <QDir>
#include <QMenu>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace design {

TQelImage::TQelImage(QWidget* parent) : TQelGraphicControl(parent)
{
    resize(105, 105);
}

void TQelImage::SetStretch(bool stretch)
{
    m_stretch = stretch;
    m_autoSize = !stretch;
    update();
}

void TQelImage::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    m_stretch = !autoSize;
    pictureChanged();
    NotifyChange();
}

void TQelImage::SetBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    update();
    NotifyChange();
}

void TQelImage::SetPicture(const platform::TPicture& picture)
{
    m_picture = picture;
    pictureChanged();
}

void TQelImage::pictureChanged()
{
    ++m_pictureRevision;
    BoundsChanged();
    // Only a picture without transparency hides what lies under the object.
    m_opaque = m_picture.GraphicKind() == platform::TPicture::pkBitmap && m_picture.Size() == size() &&
               !m_picture.Bitmap().hasAlphaChannel();
    setAttribute(Qt::WA_OpaquePaintEvent, m_opaque);
    update();
}

void TQelImage::BoundsChanged()
{
    TQelGraphicControl::BoundsChanged();
    if (!m_autoSize || m_picture.Width() <= 0 || m_picture.Height() <= 0)
        return;
    const double zoom = double(ZoomFactor());
    const int w = int(std::nearbyint(m_picture.Width() * zoom));
    const int h = int(std::nearbyint(m_picture.Height() * zoom));
    if (w != width() || h != height())
        resize(w, h);
}

bool TQelImage::ChoosePicture()
{
    const QString remembered = QDir::currentPath();
    TQelImageBrowser browser(window() != this ? window() : nullptr);
    browser.SetStretch(m_stretch);
    browser.SetAutoSize(m_autoSize);
    const bool chosen = browser.exec() == QDialog::Accepted && !browser.SelectedFile().isEmpty();
    if (chosen) {
        m_picture = browser.PreviewPicture();
        // Taken as the boxes say, without the setters' coupling.
        m_stretch = browser.Stretch();
        m_autoSize = browser.AutoSize();
        pictureChanged();
        NotifyChange();
    }
    QDir::setCurrent(remembered);
    return chosen;
}

bool TQelImage::EditAfterCreate(bool clicked)
{
    // A file that could not be read leaves the picture empty: nothing to place either.
    if (!ChoosePicture() || m_picture.IsEmpty())
        return false;
    FitNewFrame(clicked);
    return true;
}

void TQelImage::FitNewFrame(bool clicked)
{
    // AutoSize gives the frame the picture's own size already.
    if (m_autoSize)
        return;
    const QSize page = parentWidget() ? parentWidget()->size() : QSize();
    setGeometry(NewPictureFrame(m_picture.Size(), geometry(), clicked, page, ZoomFactor()));
    pictureChanged();
}

namespace {

/** The largest size of the picture's proportions within bound; never 0 on a side. */
QSize FitWithin(QSize picture, QSize bound)
{
    const qint64 pw = picture.width(), ph = picture.height();
    const qint64 bw = bound.width(), bh = bound.height();
    // Rounded to the nearest pixel, halves up.
    if (pw * bh >= ph * bw)
        return {int(bw), int(std::max<qint64>(1, (2 * bw * ph + pw) / (2 * pw)))};
    return {int(std::max<qint64>(1, (2 * bh * pw + ph) / (2 * ph))), int(bh)};
}

} // namespace

QRect NewPictureFrame(QSize picture, const QRect& box, bool clicked, QSize page, float zoom)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        return box;
    if (!clicked)
        return QRect(box.topLeft(), FitWithin(picture, box.size()));
    QSize size(int(std::nearbyint(picture.width() * double(zoom))),
               int(std::nearbyint(picture.height() * double(zoom))));
    size = size.expandedTo(QSize(1, 1));
    if (!page.isEmpty() && (size.width() > page.width() || size.height() > page.height()))
        size = FitWithin(picture, page);
    QPoint at = box.topLeft();
    if (!page.isEmpty()) {
        at.setX(std::max(0, std::min(at.x(), page.width() - size.width())));
        at.setY(std::max(0, std::min(at.y(), page.height() - size.height())));
    }
    return QRect(at, size);
}

void TQelImage::AfterLoad()
{
    const bool built = Menu() != nullptr;
    TQelGraphicControl::AfterLoad();
    pictureChanged();
    if (built)
        return;
    Menu()->addSeparator();
    AddMenuItem(tr("Load Image From Disk"), "mnuLoadImage", [this] { ChoosePicture(); });
    Menu()->addSeparator();
    m_borderItem = AddMenuItem(tr("Border"), "mnuBorder",
                               [this] { SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle); });
    m_stretchItem = AddMenuItem(tr("Stretch to Fit"), "mnuStretch", [this] {
        SetStretch(!m_stretch);
        update();
    });
    m_autoSizeItem = AddMenuItem(tr("AutoSize"), "mnuAutoSize", [this] {
        SetAutoSize(!m_autoSize);
        update();
    });
    for (QAction* item : {m_borderItem, m_stretchItem, m_autoSizeItem})
        item->setCheckable(true);
}

void TQelImage::UpdateMenuChecks()
{
    TQelGraphicControl::UpdateMenuChecks();
    if (!m_borderItem)
        return;
    m_borderItem->setChecked(m_borderStyle == bsSingle);
    m_stretchItem->setChecked(m_stretch);
    m_autoSizeItem->setChecked(m_autoSize);
}

void TQelImage::paintEvent(QPaintEvent*)
{
    if (const TQelBasePanel* panel = Panel(); panel && panel->SuspendPaint())
        return;
    QPainter painter(this);
    m_screen.Paint(painter, size(), std::pair(m_pictureRevision, m_borderStyle),
                   [this](QPainter& p) { draw(p); });
}

void TQelImage::draw(QPainter& painter) const
{
    // The picture always fills the object; without one, a white rectangle in a black frame. Frames are
    // one-pixel strips on the outermost pixels: exact on screen and on paper alike.
    const int w = width(), h = height();
    const bool frame = m_picture.IsEmpty() || m_borderStyle == bsSingle;
    if (!m_picture.IsEmpty())
        m_picture.Draw(painter, QRectF(0, 0, w, h));
    else
        painter.fillRect(QRect(0, 0, w, h), Qt::white);
    if (frame)
        for (const QRect& side :
             {QRect(0, 0, w, 1), QRect(0, h - 1, w, 1), QRect(0, 0, 1, h), QRect(w - 1, 0, 1, h)})
            painter.fillRect(side, Qt::black);
}

void TQelImage::PrintTo(QPainter& painter, double originX, double originY)
{
    // The picture as the window draws it, in screen pixels placed and scaled onto the page: a metafile stays
    // vectors and a bitmap keeps all of its own pixels.
    const double ppi = platform::PixelsPerInch();
    const double dpiX = painter.device()->logicalDpiX();
    const double dpiY = painter.device()->logicalDpiY();
    painter.save();
    painter.translate((originX + x() / ppi) * dpiX, (originY + y() / ppi) * dpiY);
    painter.scale(dpiX / ppi, dpiY / ppi);
    painter.setClipRect(rect(), Qt::IntersectClip);
    draw(painter);
    painter.restore();
}

namespace {

using I = TQelImage;

const persist::EnumNames& BorderNames()
{
    static const persist::EnumNames names{{QStringLiteral("bsNone"), QStringLiteral("bsSingle")}};
    return names;
}

/** The picture holder: its graphic as the raw-data property "Data". */
const persist::ClassInfo& PictureHolderClass()
{
    static const persist::ClassInfo c = [] {
        persist::ClassInfo info;
        info.name = QStringLiteral("TPicture");
        persist::DefinedProperty data;
        data.name = QStringLiteral("Data");
        data.hasData = [](const void* o) { return !ObjectOf<I>(o)->Picture().IsEmpty(); };
        data.writeRaw = [](const void* o) { return ObjectOf<I>(o)->Picture().StreamData(); };
        // A stored picture that cannot be decoded leaves the object empty; the rest of the file still reads.
        data.readRaw = [](void* o, const QByteArray& bytes) {
            ObjectOf<I>(o)->SetPicture(platform::TPicture::FromStreamData(bytes));
        };
        info.defined.append(data);
        return info;
    }();
    return c;
}

persist::ClassInfo MakeImageClass()
{
    persist::ClassInfo c;
    c.name = QStringLiteral("TQelImage");
    c.base = &GraphicControlClass();
    c.properties.append(BooleanProperty(
        QStringLiteral("AutoSize"), false, [](const void* o) { return ObjectOf<I>(o)->AutoSize(); },
        [](void* o, bool v) { ObjectOf<I>(o)->SetStoredAutoSize(v); }));
    c.properties.append(EnumProperty(
        QStringLiteral("BorderStyle"), BorderNames(), std::nullopt,
        [](const void* o) { return qint64(ObjectOf<I>(o)->BorderStyle()); },
        [](void* o, qint64 v) { ObjectOf<I>(o)->SetBorderStyle(TBorderStyle(v)); }));
    persist::PropertyInfo picture;
    picture.name = QStringLiteral("Picture");
    picture.kind = persist::PropKind::Object;
    picture.getObject = [](void* o) { return persist::ObjRef{o, &PictureHolderClass()}; };
    c.properties.append(picture);
    c.properties.append(BooleanProperty(
        QStringLiteral("Stretch"), true, [](const void* o) { return ObjectOf<I>(o)->Stretch(); },
        [](void* o, bool v) { ObjectOf<I>(o)->SetStoredStretch(v); }));
    return c;
}

} // namespace

void RegisterImageClasses()
{
    static persist::ClassInfo image = MakeImageClass();
    static const bool registered = [] {
        RegisterPlacedObjectClass(image, &TQelImage::staticMetaObject, [] { return new TQelImage; });
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace design
