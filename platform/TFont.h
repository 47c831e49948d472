#pragma once

#include "platform/FontChoice.h"
#include "platform/TColor.h"

#include <QFlags>
#include <QFont>
#include <QObject>
#include <QString>

namespace platform {

enum TFontStyle
{
    fsBold = 0x1,
    fsItalic = 0x2,
    fsUnderline = 0x4,
    fsStrikeOut = 0x8,
};
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)

enum TFontPitch
{
    fpDefault,
    fpVariable,
    fpFixed,
};

inline constexpr int DEFAULT_CHARSET = 1;

/**
 * A font description owned by a component: name, height, style set, colour, character set and pitch. The
 * height is kept in pixels (negative for the character height) and the size in points derives from it through
 * the pixels per inch fixed at construction. Every change emits changed() so the owner can repaint.
 */
class TFont : public QObject
{
    Q_OBJECT

public:
    explicit TFont(QObject* parent = nullptr);

    QString Name() const { return m_name; }
    void SetName(const QString& name);
    int Height() const { return m_height; }
    void SetHeight(int height);
    /** Size in points: -Height * 72 / PixelsPerInch, rounded. */
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    int Charset() const { return m_charset; }
    void SetCharset(int charset);
    TFontPitch Pitch() const { return m_pitch; }
    void SetPitch(TFontPitch pitch);
    int PixelsPerInch() const { return m_pixelsPerInch; }

    /** Copies every attribute of another font, with one change notification. */
    void Assign(const TFont& other);

    /** Name, style set and colour are equal; sizes are not compared. */
    bool SameLook(const TFont& other) const;

Q_SIGNALS:
    void changed();

private:
    void notify();

    QString m_name = QStringLiteral("MS Sans Serif");
    int m_height = -11;
    TFontStyles m_style;
    TColor m_color = clWindowText;
    int m_charset = DEFAULT_CHARSET;
    TFontPitch m_pitch = fpDefault;
    int m_pixelsPerInch = 96;
};

/** The largest font drawn, in pixels: a damaged file's size of billions of points is drawn this big, so the
 *  coordinates laid out from it stay far inside int. The font dialog's 1638 points at 400% stay below it. */
inline constexpr int kMaxFontPixels = 10000;

/** The pixel height of a font of `points` at `zoom` on the screen, its sign kept and its size at most
 *  kMaxFontPixels. */
int FontPixels(int points, float zoom = 1.0f);

/** A QFont for drawing: the family, a pixel size (from 1 to kMaxFontPixels) and the style set. */
QFont MakeQFont(const QString& name, int pixelSize, TFontStyles style);

/** The font as a font dialog edits it: family, size in points, styles and colour. */
FontChoice FontForDialog(const TFont& font);
/**
 * Takes family, size, styles and colour chosen in a font dialog, with one change notification. The height
 * stays when the size in points did not change (a height converts to points and back only approximately).
 */
void TakeDialogFont(TFont& font, const FontChoice& chosen);

} // namespace platform

Q_DECLARE_OPERATORS_FOR_FLAGS(platform::TFontStyles)
