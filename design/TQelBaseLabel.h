#pragma once

#include "design/LabelLayout.h"
#include "design/TQelGraphicControl.h"
#include "platform/TColor.h"
#include "platform/TFont.h"

namespace design {

enum THighlightDirection
{
    hdNone,
    hdright,
    hdLeft,
    hdUpRight,
    hdUpLeft,
    hdUp,
};

enum TShadowDirection
{
    sdNone,
    sdRight,
    sdLeft,
    sdDownRight,
    sdDownLeft,
    sdDown,
};

enum TBorderStyle
{
    bsNone,
    bsSingle,
};

/**
 * A placed text label: one line in one font, turned by a quarter turn or not, over an optional background and
 * inside an optional frame, with a shadow copy and a highlight copy of the text behind it.
 */
class TQelBaseLabel : public TQelGraphicControl
{
    Q_OBJECT

public:
    explicit TQelBaseLabel(QWidget* parent = nullptr);

    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    int DepthHighlight() const { return m_depthHighlight; }
    void SetDepthHighlight(int depth);
    int DepthShadow() const { return m_depthShadow; }
    void SetDepthShadow(int depth);
    THighlightDirection DirectionHighlight() const { return m_directionHighlight; }
    void SetDirectionHighlight(THighlightDirection direction);
    TShadowDirection DirectionShadow() const { return m_directionShadow; }
    void SetDirectionShadow(TShadowDirection direction);
    platform::TColor ColorHighlight() const { return m_colorHighlight; }
    void SetColorHighlight(platform::TColor color);
    platform::TColor ColorShadow() const { return m_colorShadow; }
    void SetColorShadow(platform::TColor color);
    /** 0, 90, 180 or 270; other values are ignored. A quarter turn swaps a size that lies the wrong way. */
    int Angle() const { return m_angle; }
    void SetAngle(int angle);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    platform::TFont* Font() const { return m_font; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    platform::TColor BackColor() const { return m_backColor; }
    void SetBackColor(platform::TColor color);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);

    void SetObjectFont(const platform::TFont& font) override;
    const platform::TFont* ObjectFont() const override { return m_font; }
    void PrintTo(QPainter& painter, double originX, double originY) override;
    void AfterLoad() override;
    void UpdateMenuChecks() override;
    /** The font dialog preset with the label's font; on OK the label takes the chosen font. */
    virtual void FontCommand();

    /** How the "3D Effects" command edits a label: true when the edit was accepted. */
    static void SetEffectsDialog(std::function<bool(TQelBaseLabel*)> dialog);

    /** Runs the layout when it is dirty; the label's size may change. */
    const LabelLayout& Layout();
    /** The font as drawn: its size truncated to the zoom when the zoom is not 1. */
    QFont DrawingFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void BoundsChanged() override;
    void MarkLayoutDirty();

private:
    void drawLabel(QPainter& painter);
    void drawCopy(QPainter& painter, const platform::TRect& clip, QPoint origin, const QColor& color,
                  const QFont& font) const;

    TAlignment m_alignment = taLeftJustify;
    int m_depthHighlight = 0;
    int m_depthShadow = 0;
    THighlightDirection m_directionHighlight = hdUpLeft;
    TShadowDirection m_directionShadow = sdDownRight;
    platform::TColor m_colorHighlight = 0xFFFF00;
    platform::TColor m_colorShadow = 0x808080;
    int m_angle = 0;
    QString m_caption = QStringLiteral("Text");
    platform::TFont* m_font = nullptr;
    bool m_transparent = true;
    platform::TColor m_backColor = platform::clWhite;
    TBorderStyle m_borderStyle = bsNone;
    bool m_layoutDirty = true;
    bool m_inLayout = false;
    LabelLayout m_layout;
    QAction* m_transparentItem = nullptr;
    QAction* m_borderItem = nullptr;
    QAction* m_alignItems[3] = {nullptr, nullptr, nullptr};
};

/** The label the Text tool creates; it grows to fit its text. */
class TZubLabel : public TQelBaseLabel
{
    Q_OBJECT

public:
    explicit TZubLabel(QWidget* parent = nullptr);

    /** Only while not turned: grows (never shrinks) to hold the caption and five spaces. */
    void FitToText();
    void FontCommand() override;
    void AfterLoad() override;
    /** The text dialog with the caption; on OK the caption changes and the label grows to fit it. False when
     * cancelled. */
    bool EditText();
    /** Run right after the Text tool created the label; false when the user cancelled. */
    bool EditAfterCreate() { return EditText(); }
};

/** Registers the text label classes with the object stream; registering twice is harmless. */
void RegisterLabelClasses();

} // namespace design
