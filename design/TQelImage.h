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

    /** The picture browser; on OK the object takes its picture and options. */
    void ChoosePicture();
    /** Run right after the Clip Art tool created the object. */
    void EditAfterCreate() { ChoosePicture(); }

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

/** Registers the picture object with the object stream; registering twice is harmless. */
void RegisterImageClasses();

} // namespace design
