#pragma once

#include "richtext/CharAttributes.h"

#include <QByteArray>
#include <QImage>
#include <QPointer>
#include <QTextEdit>

#include <memory>

namespace richtext {

class TVelRtfStorage;
class TVelRichToolBar;

/**
 * The rich-text editor: one document edited in place, loaded from and given back to a storage, shown at a
 * zoom in whole percent on a page of a given width in twips with no margins. A document loaded and not
 * changed is given back as the bytes it came as.
 */
class TVelRichEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit TVelRichEdit(QWidget* parent = nullptr);
    ~TVelRichEdit() override;

    void LoadFromStorage(const TVelRtfStorage& storage);
    void SaveToStorage(TVelRtfStorage& storage) const;
    void LoadRtf(const QByteArray& rtf);
    /** The document as RTF; empty when the document is empty. */
    QByteArray Rtf() const;

    int ZoomPercent() const { return m_zoomPercent; }
    void SetZoomPercent(int percent);
    /** The page the text wraps in, in twips, with all four margins 0. */
    void SetPageSizeTwips(int width, int height);
    int PageWidthTwips() const { return m_pageWidthTwips; }
    int PageHeightTwips() const { return m_pageHeightTwips; }

    bool IsEmpty() const;
    void CaretToEnd();
    void InsertParagraphBreak();
    void InsertText(const QString& text, const CharAttributes& attributes);
    void InsertBitmap(const QImage& image);
    void SetWordWrap(bool on);

    CharAttributes CurrentAttributes() const;
    void SetCurrentAttributes(const CharAttributes& attributes);

    void AttachToolBar(TVelRichToolBar* toolBar);
    void DetachToolBar();
    TVelRichToolBar* ToolBar() const { return m_toolBar; }

Q_SIGNALS:
    void entered();
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);
    /** A handler that takes the drag or drop itself sets handled; otherwise the editor handles it. */
    void dragOver(QDragMoveEvent* event, bool& handled);
    void dropped(QDropEvent* event, bool& handled);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void applyLayout();

    int m_zoomPercent = 100;
    int m_pageWidthTwips = 0;
    int m_pageHeightTwips = 0;
    bool m_wordWrap = true;
    QByteArray m_loadedRtf;
    std::unique_ptr<QImage> m_zoomDevice;
    QPointer<TVelRichToolBar> m_toolBar;
    int m_imageCount = 0;
};

} // namespace richtext
