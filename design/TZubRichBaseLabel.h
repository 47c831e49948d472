#pragma once

#include "design/TQelBaseLabel.h"
#include "design/TQelGraphicControl.h"
#include "platform/CachedPicture.h"
#include "platform/TColor.h"
#include "richtext/TVelRichRenderer.h"
#include "richtext/TVelRtfStorage.h"

#include <QPointer>

#include <tuple>

namespace design {

/** The message of a rich-text label that finds no shared renderer in its window. */
inline const QString kNoMasterRichText = QStringLiteral("No master rich text object found");

/**
 * A placed block of formatted text: an RTF document word-wrapped to the object's width, on a transparent or
 * coloured background, in an optional frame. It draws through the window's shared hidden renderer (the
 * component named "MasterVelRichText"), which it finds once it was read or created.
 */
class TZubRichBaseLabel : public TQelGraphicControl
{
    Q_OBJECT

public:
    explicit TZubRichBaseLabel(QWidget* parent = nullptr);

    /** The label's document, as the stream reads and writes it. */
    richtext::TVelRtfStorage& RTFText() { return m_storage; }
    const richtext::TVelRtfStorage& RTFText() const { return m_storage; }
    /** Copies the given document into the label, repaints and reports the change. */
    void SetRTFText(const richtext::TVelRtfStorage& text);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    platform::TColor BGColor() const { return m_bgColor; }
    void SetBGColor(platform::TColor color);

    /** The shared renderer found by the after-load step; nothing is drawn without one. */
    richtext::TVelRichRenderer* Renderer() const { return m_renderer; }
    /**
     * The renderer of the window that start belongs to: the first component named "MasterVelRichText" (in
     * any letter case) of the first window up the parent chain.
     */
    static richtext::TVelRichRenderer* FindRenderer(QObject* start);

    /** Builds the menu and finds the renderer; raises StreamError "No master rich text object found". */
    void AfterLoad() override;
    void UpdateMenuChecks() override;
    void PrintTo(QPainter& painter, double originX, double originY) override;

    /** The editor dialog on the label's document at its unzoomed size; true when it ended with OK. */
    bool EditRichText();

    /** Draws the label into (0, 0, width, height) of any painter: background, document, frame. */
    void DrawOn(QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    richtext::TVelRtfStorage m_storage;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_transparent = true;
    platform::TColor m_bgColor = platform::clWhite;
    QPointer<richtext::TVelRichRenderer> m_renderer;
    // The screen's picture is drawn from the text, the colours, the zoom in percent and the frame, through
    // the renderer when there is one.
    using ScreenKey = std::tuple<QByteArray, bool, platform::TColor, int, TBorderStyle, bool>;
    platform::CachedPicture<ScreenKey> m_screen;
    QAction* m_transparentItem = nullptr;
    QAction* m_borderItem = nullptr;
};

/** Registers the rich-text label with the object stream; registering twice is harmless. */
void RegisterRichLabelClass();

} // namespace design
