#include "richtext/TVelRichEdit.h"

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "richtext/TVelRichToolBar.h"
#include "richtext/TVelRtfStorage.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <cmath>

namespace richtext {

namespace {
// Pixels at 100% per inch; the document is laid out as if on a device of this resolution times the zoom.
constexpr double kDotsPerMeterAt96 = 96 / 0.0254;
} // namespace

TVelRichEdit::TVelRichEdit(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(true);
    document()->setDocumentMargin(0);
    setFrameStyle(QFrame::NoFrame);
    SetZoomPercent(100);
}

TVelRichEdit::~TVelRichEdit()
{
    DetachToolBar();
    // The layout must not keep a device that is about to go.
    document()->documentLayout()->setPaintDevice(nullptr);
}

void TVelRichEdit::LoadRtf(const QByteArray& rtf)
{
    ReadRtf(rtf, *document());
    document()->setDocumentMargin(0);
    applyLayout();
    document()->setModified(false);
    m_loadedRtf = rtf;
}

void TVelRichEdit::LoadFromStorage(const TVelRtfStorage& storage)
{
    LoadRtf(storage.RtfText());
}

QByteArray TVelRichEdit::Rtf() const
{
    if (!document()->isModified())
        return m_loadedRtf;
    return IsEmpty() ? QByteArray() : WriteRtf(*document());
}

void TVelRichEdit::SaveToStorage(TVelRtfStorage& storage) const
{
    storage.SetRtfText(Rtf());
}

void TVelRichEdit::SetZoomPercent(int percent)
{
    m_zoomPercent = std::clamp(percent, 1, 1000);
    auto device = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
    const int dpm = int(std::lround(kDotsPerMeterAt96 * m_zoomPercent / 100.0));
    device->setDotsPerMeterX(dpm);
    device->setDotsPerMeterY(dpm);
    document()->documentLayout()->setPaintDevice(device.get());
    m_zoomDevice = std::move(device);
    applyLayout();
}

void TVelRichEdit::SetPageSizeTwips(int width, int height)
{
    m_pageWidthTwips = std::max(0, width);
    m_pageHeightTwips = std::max(0, height);
    applyLayout();
}

void TVelRichEdit::applyLayout()
{
    document()->setDocumentMargin(0);
    if (!m_wordWrap) {
        setLineWrapMode(QTextEdit::NoWrap);
    } else if (m_pageWidthTwips > 0) {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(int(std::lround(m_pageWidthTwips / 15.0 * m_zoomPercent / 100.0)));
    } else {
        setLineWrapMode(QTextEdit::WidgetWidth);
    }
    document()->markContentsDirty(0, document()->characterCount());
}

bool TVelRichEdit::IsEmpty() const
{
    return document()->isEmpty();
}

void TVelRichEdit::CaretToEnd()
{
    QTextCursor c = textCursor();
    c.movePosition(QTextCursor::End);
    setTextCursor(c);
}

void TVelRichEdit::InsertParagraphBreak()
{
    textCursor().insertBlock();
}

void TVelRichEdit::InsertText(const QString& text, const CharAttributes& attributes)
{
    QTextCursor c = textCursor();
    c.insertText(text, FormatOf(attributes));
    setTextCursor(c);
}

void TVelRichEdit::InsertBitmap(const QImage& image)
{
    if (image.isNull())
        return;
    const QString name = QStringLiteral("bitmap://%1").arg(++m_imageCount);
    document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    textCursor().insertImage(format);
}

void TVelRichEdit::SetWordWrap(bool on)
{
    m_wordWrap = on;
    applyLayout();
}

CharAttributes TVelRichEdit::CurrentAttributes() const
{
    const QTextCharFormat f = currentCharFormat();
    CharAttributes a;
    const QStringList families = f.fontFamilies().toStringList();
    a.fontName = families.isEmpty() ? document()->defaultFont().family() : families.first();
    a.pointSize = f.hasProperty(QTextFormat::FontPointSize) ? int(std::lround(f.fontPointSize()))
                                                            : document()->defaultFont().pointSize();
    a.bold = f.fontWeight() >= QFont::DemiBold;
    a.italic = f.fontItalic();
    a.underline = f.fontUnderline();
    a.strikeOut = f.fontStrikeOut();
    a.colorIndex =
        f.hasProperty(QTextFormat::ForegroundBrush) ? std::max(0, ColorIndexOf(f.foreground().color())) : 0;
    return a;
}

void TVelRichEdit::SetCurrentAttributes(const CharAttributes& attributes)
{
    setCurrentCharFormat(FormatOf(attributes));
}

void TVelRichEdit::AttachToolBar(TVelRichToolBar* toolBar)
{
    if (m_toolBar == toolBar)
        return;
    DetachToolBar();
    m_toolBar = toolBar;
    if (toolBar)
        toolBar->SetEditor(this);
}

void TVelRichEdit::DetachToolBar()
{
    if (m_toolBar && m_toolBar->Editor() == this)
        m_toolBar->SetEditor(nullptr);
    m_toolBar = nullptr;
}

void TVelRichEdit::focusInEvent(QFocusEvent* event)
{
    QTextEdit::focusInEvent(event);
    Q_EMIT entered();
}

void TVelRichEdit::keyPressEvent(QKeyEvent* event)
{
    Q_EMIT keyPressed(event->key(), event->modifiers());
    if (event->key() == Qt::Key_A && event->modifiers() == Qt::ControlModifier) {
        selectAll();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TVelRichEdit::dragEnterEvent(QDragEnterEvent* event)
{
    // The owner decides on what it accepts (pictures and icons) from the moment the drag comes in.
    bool handled = false;
    Q_EMIT dragOver(event, handled);
    if (!handled)
        QTextEdit::dragEnterEvent(event);
}

void TVelRichEdit::dragMoveEvent(QDragMoveEvent* event)
{
    bool handled = false;
    Q_EMIT dragOver(event, handled);
    if (!handled)
        QTextEdit::dragMoveEvent(event);
}

void TVelRichEdit::dropEvent(QDropEvent* event)
{
    bool handled = false;
    Q_EMIT dropped(event, handled);
    if (!handled)
        QTextEdit::dropEvent(event);
}

} // namespace richtext
