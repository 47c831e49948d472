#pragma once

#include "platform/FontChoice.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace controls {

class FontSample;

/**
 * The program's font dialog: family, style and size, strike-out, underline and colour, with a sample of the
 * result. It opens on the font it edits: a name that the system draws with another family (a fontconfig alias
 * such as "Times New Roman") shows the family actually drawn, and the stored name comes back unchanged unless
 * the user picks another family. The colour comes back as it was unless the user picks another one, so a
 * system colour stays a system colour.
 */
class TFontDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TFontDialog(QWidget* parent = nullptr, platform::FontDialogOptions options = {});

    void SetChoice(const platform::FontChoice& choice);
    platform::FontChoice Choice() const;

    /** Runs the dialog modally on a font; nothing when it is cancelled. */
    static std::optional<platform::FontChoice> Ask(QWidget* parent, const platform::FontChoice& initial,
                                                   platform::FontDialogOptions options);
    /** Makes this dialog the one the program's prompts show whenever a font is chosen. */
    static void Install();

    /** The families offered, sorted, each once (without its foundry); outline fonts only with ScalableOnly.
     */
    static QStringList Families(platform::FontDialogOptions options);
    /** The family the system draws for a font name: the name itself, or the family an alias stands for. */
    static QString DrawnFamily(const QString& name);

    QLineEdit* FamilyEdit() const { return m_familyEdit; }
    QListWidget* FamilyList() const { return m_familyList; }
    QListWidget* StyleList() const { return m_styleList; }
    QLineEdit* SizeEdit() const { return m_sizeEdit; }
    QListWidget* SizeList() const { return m_sizeList; }
    QCheckBox* StrikeOutBox() const { return m_strikeOut; }
    QCheckBox* UnderlineBox() const { return m_underline; }
    QComboBox* ColorCombo() const { return m_color; }
    QWidget* Sample() const;

    /** Closes with OK only on a family of the list and a size from 1 to 1638 points; says what is wrong. */
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void familyTyped(const QString& text);
    void familyPicked();
    void fillSizes();
    void sizeTyped(const QString& text);
    void colorActivated(int index);
    void selectColor(platform::TColor color);
    QString chosenFamily() const;
    void updateSample();

    QLineEdit* m_familyEdit = nullptr;
    QListWidget* m_familyList = nullptr;
    QListWidget* m_styleList = nullptr;
    QLineEdit* m_sizeEdit = nullptr;
    QListWidget* m_sizeList = nullptr;
    QCheckBox* m_strikeOut = nullptr;
    QCheckBox* m_underline = nullptr;
    QComboBox* m_color = nullptr;
    FontSample* m_sample = nullptr;
    /** The name the font had when the dialog opened, and the family shown for it. */
    QString m_storedName;
    QString m_shownFamily;
    int m_colorIndex = 0;
    bool m_syncing = false;
};

} // namespace controls
