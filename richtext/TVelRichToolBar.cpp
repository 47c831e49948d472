#include "richtext/TVelRichToolBar.h"

#include "richtext/CharAttributes.h"
#include "richtext/TVelRichEdit.h"

#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>

#include <functional>

namespace richtext {

namespace {

QIcon Swatch(const QColor& color)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

/** A small tool icon drawn with the helper, in a dark ink that reads on any light bar. */
QIcon DrawnIcon(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(48, 48, 48));
    painter.setBrush(Qt::NoBrush);
    draw(painter);
    return QIcon(pixmap);
}

/** Five lines of text set as the alignment sets them. */
QIcon AlignmentIcon(Qt::Alignment alignment)
{
    return DrawnIcon([alignment](QPainter& p) {
        static const int kLengths[5] = {14, 9, 12, 7, 14};
        for (int i = 0; i < 5; ++i) {
            const int w = alignment == Qt::AlignJustify ? 14 : kLengths[i];
            const int x = alignment == Qt::AlignRight     ? 15 - w
                          : alignment == Qt::AlignHCenter ? (16 - w) / 2
                                                          : 1;
            p.fillRect(x, 2 + 3 * i, w, 2, p.pen().color());
        }
    });
}

void Page(QPainter& p, int x, int y, int w, int h)
{
    p.fillRect(x, y, w, h, Qt::white);
    p.drawRect(x, y, w - 1, h - 1);
    for (int line = y + 3; line < y + h - 2; line += 2)
        p.drawLine(x + 2, line, x + w - 3, line);
}

QIcon CopyIcon()
{
    return DrawnIcon([](QPainter& p) {
        Page(p, 1, 1, 9, 11);
        Page(p, 6, 4, 9, 11);
    });
}

QIcon CutIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        QPen pen = p.pen();
        pen.setWidthF(1.4);
        p.setPen(pen);
        p.drawLine(QPointF(4.5, 1), QPointF(10, 10.5));
        p.drawLine(QPointF(11.5, 1), QPointF(6, 10.5));
        p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
    });
}

QIcon PasteIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.fillRect(2, 2, 11, 13, QColor(181, 134, 72));
        p.drawRect(2, 2, 10, 12);
        p.fillRect(5, 1, 5, 3, QColor(96, 96, 96));
        Page(p, 7, 6, 8, 9);
    });
}

QIcon SelectAllIcon()
{
    return DrawnIcon([](QPainter& p) {
        QPen pen = p.pen();
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawRect(1, 1, 13, 13);
        for (int line = 4; line <= 11; line += 3)
            p.fillRect(4, line, 8, 2, QColor(48, 48, 48));
    });
}

QAction* Toggle(QToolBar* bar, const QString& text, const QString& tip, const QKeySequence& key)
{
    QAction* action = bar->addAction(text);
    action->setToolTip(tip);
    action->setCheckable(true);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    return action;
}

} // namespace

TVelRichToolBar::TVelRichToolBar(QWidget* parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("RichTextToolBar"));
    setIconSize(QSize(16, 16));
    m_font = new QFontComboBox(this);
    m_font->setObjectName(QStringLiteral("FontName"));
    m_font->setToolTip(tr("Font"));
    addWidget(m_font);
    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("FontSize"));
    m_size->setEditable(true);
    m_size->setToolTip(tr("Font size"));
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        m_size->addItem(QString::number(size));
    addWidget(m_size);
    m_color = new QComboBox(this);
    m_color->setObjectName(QStringLiteral("FontColor"));
    m_color->setToolTip(tr("Font colour"));
    static const char* const kNames[16] = {"Black", "Maroon",  "Green",  "Olive", "Navy", "Purple",
                                           "Teal",  "Grey",    "Silver", "Red",   "Lime", "Yellow",
                                           "Blue",  "Fuchsia", "Aqua",   "White"};
    for (int i = 0; i < 16; ++i)
        m_color->addItem(Swatch(ColorTable()[size_t(i)]), tr(kNames[i]));
    addWidget(m_color);
    addSeparator();

    m_normal = addAction(tr("N"));
    m_normal->setObjectName(QStringLiteral("NormalFont"));
    m_normal->setToolTip(tr("Normal Font"));
    m_normal->setVisible(false);
    m_bold = Toggle(this, tr("B"), tr("Bold Font"), QKeySequence::Bold);
    QFont boldFont = font();
    boldFont.setBold(true);
    m_bold->setFont(boldFont);
    m_italic = Toggle(this, tr("I"), tr("Italic Font"), QKeySequence::Italic);
    m_underline = Toggle(this, tr("U"), tr("Underlined Font"), QKeySequence::Underline);
    addSeparator();

    auto* group = new QActionGroup(this);
    struct Alignment
    {
        Qt::Alignment alignment;
        QString name;
        QString hint;
    };
    const QList<Alignment> alignments = {{Qt::AlignLeft, tr("Left"), tr("Left Justify Text")},
                                         {Qt::AlignRight, tr("Right"), tr("Right Justify Text")},
                                         {Qt::AlignHCenter, tr("Centre"), tr("Center Text ")},
                                         {Qt::AlignJustify, tr("Justify"), tr("Justify Text")}};
    for (const auto& [alignment, name, hint] : alignments) {
        // Drawn icons keep the whole bar within a dialog's width; the words stay as text and hint.
        QAction* action = addAction(AlignmentIcon(alignment), name);
        action->setCheckable(true);
        action->setToolTip(hint);
        group->addAction(action);
        m_align.append({alignment, action});
        connect(action, &QAction::triggered, this,
                [this, alignment = alignment] { setAlignment(alignment); });
    }
    addSeparator();
    m_copy = addAction(CopyIcon(), tr("Copy"));
    m_copy->setToolTip(tr("Copy Text"));
    m_cut = addAction(CutIcon(), tr("Cut"));
    m_cut->setToolTip(tr("Cut Text"));
    m_paste = addAction(PasteIcon(), tr("Paste"));
    m_paste->setToolTip(tr("Paste Text"));
    m_selectAll = addAction(SelectAllIcon(), tr("Select All"));
    m_selectAll->setToolTip(tr("Select All"));

    connect(m_font, &QFontComboBox::currentFontChanged, this, [this](const QFont& f) {
        QTextCharFormat format;
        format.setFontFamilies({f.family()});
        mergeFormat(format);
    });
    connect(m_size, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        bool ok = false;
        const int size = text.toInt(&ok);
        if (!ok || size < 1 || size > 1638)
            return;
        QTextCharFormat format;
        format.setFontPointSize(size);
        mergeFormat(format);
    });
    connect(m_color, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        QTextCharFormat format;
        format.setForeground(ColorTable()[size_t(index)]);
        mergeFormat(format);
    });
    connect(m_normal, &QAction::triggered, this, [this] {
        QTextCharFormat format;
        format.setFontWeight(QFont::Normal);
        format.setFontItalic(false);
        format.setFontUnderline(false);
        format.setFontStrikeOut(false);
        mergeFormat(format);
        showFormat();
    });
    connect(m_bold, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(format);
    });
    connect(m_italic, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        mergeFormat(format);
    });
    connect(m_underline, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        mergeFormat(format);
    });
    connect(m_copy, &QAction::triggered, this, [this] {
        if (m_editor)
            m_editor->copy();
    });
    connect(m_cut, &QAction::triggered, this, [this] {
        if (m_editor)
            m_editor->cut();
    });
    connect(m_paste, &QAction::triggered, this, [this] {
        if (m_editor)
            m_editor->paste();
    });
    connect(m_selectAll, &QAction::triggered, this, [this] {
        if (m_editor)
            m_editor->selectAll();
    });
    SetEditor(nullptr);
}

void TVelRichToolBar::SetNormalVisible(bool visible)
{
    m_normal->setVisible(visible);
}

QAction* TVelRichToolBar::AlignAction(Qt::Alignment alignment) const
{
    for (const auto& [a, action] : m_align) {
        if (a == alignment)
            return action;
    }
    return nullptr;
}

void TVelRichToolBar::SetEditor(TVelRichEdit* editor)
{
    for (const auto& c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_editor = editor;
    for (QWidget* w :
         {static_cast<QWidget*>(m_font), static_cast<QWidget*>(m_size), static_cast<QWidget*>(m_color)})
        w->setEnabled(editor != nullptr);
    for (QAction* a : actions())
        a->setEnabled(editor != nullptr);
    if (!editor)
        return;
    m_connections.append(
        connect(editor, &QTextEdit::currentCharFormatChanged, this, [this] { showFormat(); }));
    m_connections.append(connect(editor, &QTextEdit::cursorPositionChanged, this, [this] { showFormat(); }));
    m_connections.append(connect(editor, &QObject::destroyed, this, [this] { SetEditor(nullptr); }));
    showFormat();
}

void TVelRichToolBar::mergeFormat(const QTextCharFormat& format)
{
    if (m_updating || !m_editor)
        return;
    QTextCursor cursor = m_editor->textCursor();
    cursor.mergeCharFormat(format);
    m_editor->mergeCurrentCharFormat(format);
    m_editor->setFocus();
}

void TVelRichToolBar::setAlignment(Qt::Alignment alignment)
{
    if (!m_editor)
        return;
    m_editor->setAlignment(alignment);
    m_editor->setFocus();
}

void TVelRichToolBar::showFormat()
{
    if (!m_editor)
        return;
    m_updating = true;
    const CharAttributes a = m_editor->CurrentAttributes();
    m_font->setCurrentFont(QFont(a.fontName));
    m_size->setCurrentText(QString::number(a.pointSize));
    m_color->setCurrentIndex(a.colorIndex);
    m_bold->setChecked(a.bold);
    m_italic->setChecked(a.italic);
    m_underline->setChecked(a.underline);
    const Qt::Alignment current = m_editor->alignment() & Qt::AlignHorizontal_Mask;
    for (const auto& [alignment, action] : m_align)
        action->setChecked(current == alignment ||
                           (alignment == Qt::AlignLeft && current == Qt::AlignLeading));
    m_updating = false;
}

} // namespace richtext
