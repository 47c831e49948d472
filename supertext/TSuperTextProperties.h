#pragma once

#include <QDialog>
#include <QImage>
#include <QTimer>

class QComboBox;
class QFrame;
class QLineEdit;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace controls {
class TColorDropButton;
}

namespace supertext {

class SampleArea;
class TQelSuperText;

/**
 * "SuperText Properties": every effect of a SuperText, edited on an example object that shows each change at
 * once. The caller copies its object into the example before showing the dialog and copies back after Ok.
 */
class TSuperTextProperties : public QDialog
{
    Q_OBJECT

public:
    explicit TSuperTextProperties(QWidget* parent = nullptr);

    TQelSuperText* Example() const { return m_example; }
    /** The full path of the last texture file chosen; given by the caller and handed back. */
    QString LastTexturePath() const { return m_lastTexturePath; }
    void SetLastTexturePath(const QString& path) { m_lastTexturePath = path; }
    /** The last texture this dialog showed, given back when the surface type returns to "Texture". */
    const QImage& LastUsedImage() const { return m_lastUsedImage; }

    /** Opens the texture browser and, on Ok, gives the example the chosen texture. */
    void LoadTexture();
    /** The font dialog for the example's font (scalable outline fonts only). */
    void SelectFont();
    /** The symbol selector; on Ok the caption becomes the chosen character in the symbol font. */
    void SelectSymbol();
    /** The font size arrows: 5 points down (above 10 only) or up (below 150 only), then a fit. */
    void ChangeFontSize(bool up);
    /** Where the texture browser starts: the last texture when it still exists, else the texture folders. */
    QString TextureStart() const;

    /** The caption was edited since the last fit. */
    bool CaptionChanged() const { return m_captionChanged; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void takeExampleValues();
    void showSurfacePanel();
    void surfaceTypeChosen(int index);
    void fitExample();
    void showCaptionFace();
    void okClicked();
    void fitTimerFired();

    TQelSuperText* m_example = nullptr;
    QScrollArea* m_samplePanel = nullptr;
    SampleArea* m_sampleArea = nullptr;
    QLineEdit* m_captionText = nullptr;
    QComboBox* m_surfaceType = nullptr;
    QFrame* m_fillPanel = nullptr;
    QFrame* m_imagePanel = nullptr;
    QFrame* m_fontColorPanel = nullptr;
    QComboBox* m_fillDirection = nullptr;
    controls::TColorDropButton* m_gradientFrom = nullptr;
    controls::TColorDropButton* m_gradientTo = nullptr;
    controls::TColorDropButton* m_fontColor = nullptr;
    controls::TColorDropButton* m_outlineColor = nullptr;
    QComboBox* m_outlineStyle = nullptr;
    QSpinBox* m_outlineWidth = nullptr;
    controls::TColorDropButton* m_shadowColor = nullptr;
    QComboBox* m_shadowOrientation = nullptr;
    QSpinBox* m_shadowDepth = nullptr;
    QTimer m_fitTimer;
    bool m_captionChanged = false;
    bool m_initialising = false;
    bool m_activated = false;
    QString m_lastTexturePath;
    QImage m_lastUsedImage;
};

} // namespace supertext
