#pragma once

#include <QDialog>

class QFrame;
class QPushButton;
class QScrollArea;

namespace richtext {
class TVelRichEdit;
class TVelRichToolBar;
} // namespace richtext

namespace design {

/**
 * "Rich Text Editor": the formatting tool bar, a white framed panel in a scroll box holding the rich-text
 * editor, and Ok, Cancel and Help. The panel is as large as the edited label plus a margin, and the text
 * wraps at the label's width, so it breaks into lines as it will on the page.
 */
class TRichTextLabelEditor : public QDialog
{
    Q_OBJECT

public:
    explicit TRichTextLabelEditor(QWidget* parent = nullptr);

    richtext::TVelRichEdit* Editor() const { return m_editor; }
    richtext::TVelRichToolBar* ToolBar() const { return m_toolBar; }
    QFrame* Panel() const { return m_panel; }
    QScrollArea* ScrollBox() const { return m_scroll; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void SetPanelColor(const QColor& color);
    /** A text area of w x h pixels (the label at zoom 1): the panel is 25 pixels larger each way. */
    void SetTextArea(int w, int h);

protected:
    void showEvent(QShowEvent* event) override;

private:
    richtext::TVelRichToolBar* m_toolBar = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    QFrame* m_panel = nullptr;
    richtext::TVelRichEdit* m_editor = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace design
