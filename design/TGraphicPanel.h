#pragma once

#include "design/LabelLayout.h"
#include "design/TQelBaseLabel.h"
#include "platform/TColor.h"

#include <QWidget>

namespace design {

enum TBevelCut
{
    bvNone,
    bvLowered,
    bvRaised,
};

enum TAlign
{
    alNone,
    alTop,
    alBottom,
    alLeft,
    alRight,
    alClient,
};

/**
 * A panel look for a caption on a dialog, without a window of its own: an optional black frame, an outer and
 * an inner bevel, a border in the panel's colour, the colour filling the rest, and the caption in a band as
 * high as a "W", centred vertically and placed across by the alignment.
 */
class TGraphicPanel : public QWidget
{
    Q_OBJECT

public:
    explicit TGraphicPanel(QWidget* parent = nullptr);

    /** Keeps the panel along an edge of its parent, or filling it, as the parent resizes. */
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut bevel);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut bevel);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    platform::TColor Color() const { return m_color; }
    void SetColor(platform::TColor color);
    bool Locked() const { return m_locked; }
    void SetLocked(bool locked) { m_locked = locked; }
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyAlign();

    TAlign m_align = alNone;
    TAlignment m_alignment = taCenter;
    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvRaised;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    TBorderStyle m_borderStyle = bsNone;
    platform::TColor m_color = platform::clBtnFace;
    bool m_locked = false;
    QString m_caption;
};

} // namespace design
