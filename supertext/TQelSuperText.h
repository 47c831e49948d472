#pragma once

#include "design/TQelBaseLabel.h"
#include "design/TQelGraphicControl.h"
#include "platform/TColor.h"
#include "platform/TFont.h"
#include "supertext/GlyphOutlines.h"
#include "supertext/SuperTextLayout.h"

#include <QFont>
#include <QImage>

namespace supertext {

/**
 * A placed line of decorative text: the glyph outlines of the caption are filled with the font colour, a
 * two-colour gradient or a tiled texture, or left hollow; stroked with an outline pen; and cast a solid
 * shadow in one of five directions. The background may be opaque and framed.
 */
class TQelSuperText : public design::TQelGraphicControl
{
    Q_OBJECT

public:
    explicit TQelSuperText(QWidget* parent = nullptr);

    int ShadowDepth() const { return m_shadowDepth; }
    void SetShadowDepth(int depth);
    TShadowOrientation ShadowOrientation() const { return m_shadowOrientation; }
    void SetShadowOrientation(TShadowOrientation orientation);
    platform::TColor Shadowcolor() const { return m_shadowColor; }
    void SetShadowcolor(platform::TColor color);
    design::TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(design::TBorderStyle style);
    bool ControlTransparent() const { return m_transparent; }
    void SetControlTransparent(bool transparent);
    platform::TColor BGColor() const { return m_bgColor; }
    void SetBGColor(platform::TColor color);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    /** The glyph font; its colour is the solid fill's colour. */
    platform::TFont* Font() const { return m_font; }
    TFillDirection FillDirection() const { return m_fillDirection; }
    void SetFillDirection(TFillDirection direction);
    platform::TColor GradientToColor() const { return m_gradientTo; }
    void SetGradientToColor(platform::TColor color);
    platform::TColor GradientFromColor() const { return m_gradientFrom; }
    void SetGradientFromColor(platform::TColor color);
    /** The texture; a null image empties it. */
    const QImage& Image() const { return m_image; }
    void SetImage(const QImage& image);
    platform::TColor OutlineColor() const { return m_outlineColor; }
    void SetOutlineColor(platform::TColor color);
    TPenStyle OutlineStyle() const { return m_outlineStyle; }
    void SetOutlineStyle(TPenStyle style);
    int OutlineWidth() const { return m_outlineWidth; }
    void SetOutlineWidth(int width);
    TSurfaceType SurfaceType() const { return m_surfaceType; }
    /** Any type but the texture discards the texture; hollow text with no outline gets a solid one. */
    void SetSurfaceType(TSurfaceType type);
    QString LastBitmapFileNameandPath() const { return m_lastBitmapPath; }
    void SetLastBitmapFileNameandPath(const QString& path) { m_lastBitmapPath = path; }

    void SetObjectFont(const platform::TFont& font) override;
    void AfterLoad() override;
    void UpdateMenuChecks() override;
    void PrintTo(QPainter& painter, double originX, double originY) override;

    /** The font dialog, offering scalable outline fonts, preset with the object's font. */
    void FontCommand();
    /** The "SuperText Properties" dialog on a copy of the object; OK copies the copy back. */
    bool EditProperties();
    /** Run right after the SuperText tool created the object; false when the user cancelled. */
    bool EditAfterCreate() { return EditProperties(); }
    /** Takes every setting and the size of another SuperText, through the setters. */
    void CopyFrom(const TQelSuperText& other);
    /** Sizes the object to its text (and shadow) with some room; true when the text then fits. */
    bool FitToText();

    /** Runs the layout when it is dirty; the object's size may change. */
    const SuperTextLayout& Layout();
    /** The shadow offset at zoom 1. */
    QPoint ShadowOffsetAtZoom1() const { return m_shadowOffset; }
    /** The font as drawn: its size truncated to the zoom when the zoom is not 1. */
    QFont DrawingFont() const;
    /** The part of the caption the object shows: the caption fitted to the object at full size, so the same
     * at every zoom and on paper. */
    QString ShownCaption();
    /** The prepared gradient: 256 bands across the object (a strip one pixel thick). */
    const QImage& GradientBitmap();
    /** Paints the object as the screen shows it, in its own coordinates. */
    void Paint(QPainter& painter);

    /** Registers the class with the object stream; registering twice is harmless. */
    static void Register();

protected:
    void paintEvent(QPaintEvent* event) override;
    void BoundsChanged() override;

private:
    void markLayoutDirty();
    void gradientInputChanged();
    QFont fontAt(float zoom) const;
    /** The caption, shortened from its end until it fits the width available. */
    QString fittingCaption(const QFont& font, int available);

    /** Draws every layer: background, frame, shadow, glyph fill and outline. */
    void render(QPainter& painter);
    /** Something drawn changed: the kept picture is out of date. */
    void invalidate();

    int m_shadowDepth = 0;
    TShadowOrientation m_shadowOrientation = sdDownRight;
    platform::TColor m_shadowColor = 0x808080;
    design::TBorderStyle m_borderStyle = design::bsNone;
    bool m_transparent = true;
    platform::TColor m_bgColor = platform::clWhite;
    QString m_caption = QStringLiteral("Text");
    platform::TFont* m_font = nullptr;
    TFillDirection m_fillDirection = gdRight;
    platform::TColor m_gradientTo = 0x00FFFF;
    platform::TColor m_gradientFrom = 0xFF0000;
    QImage m_image;
    platform::TColor m_outlineColor = platform::clBlack;
    TPenStyle m_outlineStyle = psSolid;
    int m_outlineWidth = 1;
    TSurfaceType m_surfaceType = stGradientFill;
    QString m_lastBitmapPath;

    QPoint m_shadowOffset;
    SuperTextLayout m_layout;
    bool m_layoutDirty = true;
    float m_layoutZoom = 1.0f;
    bool m_inLayout = false;
    bool m_inPaint = false;
    QImage m_gradient;
    bool m_gradientDirty = true;

    // What the last paint measured and built, kept while the text and font stay the same.
    QString m_fitCaption;
    QFont m_fitFont;
    QString m_fitFace;
    int m_fitAvailable = -1;
    QString m_fitResult;
    GlyphOutlines m_glyphs;
    QImage m_cache;
    bool m_cacheValid = false;
    float m_cacheZoom = 1.0f;

    QAction* m_transparentItem = nullptr;
    QAction* m_borderItem = nullptr;
};

} // namespace supertext
