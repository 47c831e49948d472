#pragma once

#include "design/TQelBaseLabel.h"
#include "design/TQelGraphicControl.h"
#include "platform/CachedPicture.h"
#include "platform/TPicture.h"

namespace design {

/**
 * A placed picture: a bitmap or a metafile drawn stretched over the object, optionally framed, or sizing the
 * object to the picture (AutoSize, the opposite of Stretch). Its picture is chosen in the picture browser and
 * stored in the calendar file with the object.
 */
class TQelImage : public TQelGraphicControl
{
    Q_OBJECT

public:
    explicit TQelImage(QWidget* parent = nullptr);

    bool AutoSize() const { return m_autoSize; }
    /** Also sets Stretch to the opposite, then fits the object to the picture and reports the change. */
    void SetAutoSize(bool autoSize);
    bool Stretch() const { return m_stretch; }
    /** Also sets AutoSize to the opposite; repaints. */
    void SetStretch(bool stretch);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    /** The two options as a stream stores them, without the setters' coupling, so a file reads back as saved.
     */
    void SetStoredAutoSize(bool autoSize) { m_autoSize = autoSize; }
    void SetStoredStretch(bool stretch) { m_stretch = stretch; }
    const platform::TPicture& Picture() const { return m_picture; }
    void SetPicture(const platform::TPicture& picture);
    /** True when the picture is an opaque bitmap of exactly the object's size, so it covers the object. */
    bool Opaque() const { return m_opaque; }

    /** The picture browser; on OK with a file chosen the object takes its picture and options (true). */
    bool ChoosePicture();
    /**
     * Run right after the Clip Art tool created the object over the rectangle the user dragged, or at the
     * point clicked: the picture browser, then the frame takes the picture's proportions (NewPictureFrame).
     * False when no picture was chosen: the new object has nothing to show.
     */
    bool EditAfterCreate(bool clicked);
    /** Gives the new object's frame the proportions of its picture, as NewPictureFrame says, on its panel. */
    void FitNewFrame(bool clicked);

    void AfterLoad() override;
    void UpdateMenuChecks() override;
    void PrintTo(QPainter& painter, double originX, double originY) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void BoundsChanged() override;

private:
    void pictureChanged();
    void draw(QPainter& painter) const;

    bool m_autoSize = false;
    bool m_stretch = true;
    TBorderStyle m_borderStyle = bsNone;
    platform::TPicture m_picture;
    bool m_opaque = false;
    QAction* m_borderItem = nullptr;
    QAction* m_stretchItem = nullptr;
    QAction* m_autoSizeItem = nullptr;
    // The screen's picture is drawn from the picture (counted by its changes) and the frame.
    int m_pictureRevision = 0;
    platform::CachedPicture<std::pair<int, TBorderStyle>> m_screen;
};

/**
 * The frame of a new picture object, which keeps the picture's proportions. A drag gave the box: the frame is
 * the largest rectangle of the picture's proportions inside it, at its top-left corner. A click gave only a
 * point (the box's top-left): the frame is the picture's own size at the zoom, made smaller to fit the page
 * when larger, and moved left and up as far as needed to lie on the page. A picture without a size keeps the
 * box.
 */
QRect NewPictureFrame(QSize picture, const QRect& box, bool clicked, QSize page, float zoom);

/** Registers the picture object with the object stream; registering twice is harmless. */
void RegisterImageClasses();

} // namespace design
