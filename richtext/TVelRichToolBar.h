#pragma once

#include <QPointer>
#include <QToolBar>

class QComboBox;
class QFontComboBox;
class QTextCharFormat;

namespace richtext {

class TVelRichEdit;

/**
 * The formatting bar of the rich-text editor: font name, size from 8, colour, (normal,) bold, italic,
 * underline, the four alignments, copy, cut, paste, select all. It acts on the editor attached to it and
 * follows its caret.
 */
class TVelRichToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit TVelRichToolBar(QWidget* parent = nullptr);

    void SetEditor(TVelRichEdit* editor);
    TVelRichEdit* Editor() const { return m_editor; }

    QFontComboBox* FontBox() const { return m_font; }
    QComboBox* SizeBox() const { return m_size; }
    QComboBox* ColorBox() const { return m_color; }
    /** Plain text: bold, italic, underline and strike-out off. Hidden unless a bar asks for it. */
    QAction* NormalAction() const { return m_normal; }
    void SetNormalVisible(bool visible);
    QAction* BoldAction() const { return m_bold; }
    QAction* ItalicAction() const { return m_italic; }
    QAction* UnderlineAction() const { return m_underline; }
    QAction* AlignAction(Qt::Alignment alignment) const;

private:
    void mergeFormat(const QTextCharFormat& format);
    void showFormat();
    void setAlignment(Qt::Alignment alignment);

    QPointer<TVelRichEdit> m_editor;
    QList<QMetaObject::Connection> m_connections;
    QFontComboBox* m_font = nullptr;
    QComboBox* m_size = nullptr;
    QComboBox* m_color = nullptr;
    QAction* m_normal = nullptr;
    QAction* m_bold = nullptr;
    QAction* m_italic = nullptr;
    QAction* m_underline = nullptr;
    QList<QPair<Qt::Alignment, QAction*>> m_align;
    QAction* m_copy = nullptr;
    QAction* m_cut = nullptr;
    QAction* m_paste = nullptr;
    QAction* m_selectAll = nullptr;
    bool m_updating = false;
};

} // namespace richtext
