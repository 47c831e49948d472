#include "design/TGraphicPanel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace design {

namespace {

constexpr platform::TColor kHighlight = platform::SystemColor(20); // clBtnHighlight
constexpr platform::TColor kShadow = platform::SystemColor(16);    // clBtnShadow

/** Width lines of a 3D frame, each one pixel further in: top and left in one colour, bottom and right in the
 * other (which owns the two corners they share). */
void Frame3D(QPainter& painter, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width)
{
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}

void Bevel(QPainter& painter, QRect& r, TBevelCut cut, int width)
{
    if (cut == bvNone)
        return;
    const QColor light = platform::ToQColor(kHighlight), dark = platform::ToQColor(kShadow);
    if (cut == bvRaised)
        Frame3D(painter, r, light, dark, width);
    else
        Frame3D(painter, r, dark, light, width);
}

} // namespace

TGraphicPanel::TGraphicPanel(QWidget* parent) : QWidget(parent)
{
    resize(185, 41);
}

void TGraphicPanel::SetAlign(TAlign align)
{
    if (align == m_align)
        return;
    m_align = align;
    if (parentWidget()) {
        parentWidget()->removeEventFilter(this);
        if (align != alNone)
            parentWidget()->installEventFilter(this);
    }
    applyAlign();
    update();
}

void TGraphicPanel::applyAlign()
{
    const QWidget* parent = parentWidget();
    if (!parent)
        return;
    const QRect area = parent->rect();
    switch (m_align) {
    case alNone:
        break;
    case alTop:
        setGeometry(0, 0, area.width(), height());
        break;
    case alBottom:
        setGeometry(0, area.height() - height(), area.width(), height());
        break;
    case alLeft:
        setGeometry(0, 0, width(), area.height());
        break;
    case alRight:
        setGeometry(area.width() - width(), 0, width(), area.height());
        break;
    case alClient:
        setGeometry(area);
        break;
    }
}

bool TGraphicPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        applyAlign();
    return QWidget::eventFilter(watched, event);
}

void TGraphicPanel::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    update();
}

void TGraphicPanel::SetBevelInner(TBevelCut bevel)
{
    m_bevelInner = bevel;
    update();
}

void TGraphicPanel::SetBevelOuter(TBevelCut bevel)
{
    m_bevelOuter = bevel;
    update();
}

void TGraphicPanel::SetBevelWidth(int width)
{
    m_bevelWidth = std::max(1, width);
    update();
}

void TGraphicPanel::SetBorderWidth(int width)
{
    m_borderWidth = std::max(0, width);
    update();
}

void TGraphicPanel::SetBorderStyle(TBorderStyle style)
{
    m_borderStyle = style;
    update();
}

void TGraphicPanel::SetColor(platform::TColor color)
{
    m_color = color;
    update();
}

void TGraphicPanel::SetCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void TGraphicPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect r = rect();
    const QColor color = platform::ToQColor(m_color);
    if (m_borderStyle == bsSingle)
        Frame3D(painter, r, Qt::black, Qt::black, 1);
    Bevel(painter, r, m_bevelOuter, m_bevelWidth);
    Frame3D(painter, r, color, color, m_borderWidth);
    Bevel(painter, r, m_bevelInner, m_bevelWidth);
    painter.fillRect(r, color);
    if (m_caption.isEmpty())
        return;
    const QFontMetrics metrics(font());
    const int band = metrics.ascent() + metrics.descent(); // as high as a "W" in the font
    const QRect line(r.left(), r.top() + (r.height() - band) / 2, r.width(), band);
    int flags = Qt::AlignVCenter | Qt::TextExpandTabs | Qt::TextSingleLine;
    flags |= m_alignment == taCenter         ? Qt::AlignHCenter
             : m_alignment == taRightJustify ? Qt::AlignRight
                                             : Qt::AlignLeft;
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(line, flags, m_caption);
}

} // namespace design
