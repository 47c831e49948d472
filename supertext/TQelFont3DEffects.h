#pragma once

#include <QDialog>

class QComboBox;

namespace design {
class ColorBox;
class TQelBaseLabel;
class TZubLabel;
} // namespace design

namespace supertext {

/**
 * "Text 3D Effects": the shadow and highlight copies of a label's text (direction, depth 0..10, colour) and
 * its font colour, shown at once on a sample label. Ok gives the label the sample's settings; Cancel leaves
 * it.
 */
class TQelFont3DEffects : public QDialog
{
    Q_OBJECT

public:
    TQelFont3DEffects(design::TQelBaseLabel* label, QWidget* parent = nullptr);

    design::TZubLabel* Sample() const { return m_sample; }
    QComboBox* ShadowDirection() const { return m_shadowDirection; }
    QComboBox* ShadowDepth() const { return m_shadowDepth; }
    QComboBox* HighlightDirection() const { return m_highlightDirection; }
    QComboBox* HighlightDepth() const { return m_highlightDepth; }
    design::ColorBox* ShadowColor() const { return m_shadowColor; }
    design::ColorBox* HighlightColor() const { return m_highlightColor; }
    design::ColorBox* FontColor() const { return m_fontColor; }

    /** Runs the dialog for the label; true when it closed with Ok (the label then has the new settings). */
    static bool Edit(design::TQelBaseLabel* label, QWidget* parent);
    /** Makes labels open this dialog from their "3D Effects" command. */
    static void Install();

private:
    void apply();

    design::TQelBaseLabel* m_label;
    design::TZubLabel* m_sample = nullptr;
    QComboBox* m_shadowDirection = nullptr;
    QComboBox* m_shadowDepth = nullptr;
    QComboBox* m_highlightDirection = nullptr;
    QComboBox* m_highlightDepth = nullptr;
    design::ColorBox* m_shadowColor = nullptr;
    design::ColorBox* m_highlightColor = nullptr;
    design::ColorBox* m_fontColor = nullptr;
};

} // namespace supertext
