#pragma once

#include <QWidget>

class QAction;
class QMenuBar;

namespace controls {
class TIconListBox;
}

namespace app {

/**
 * The floating "Icons" palette: a grid of 3 × 3 icons of one icon file, dragged from it into day cells. Its
 * menu chooses one of the five icon libraries that come with the program or any other file with icons.
 */
class TFloatingPalette : public QWidget
{
    Q_OBJECT

public:
    explicit TFloatingPalette(QWidget* mainWindow = nullptr);
    /** Saves the palette's placement. */
    ~TFloatingPalette() override;

    controls::TIconListBox* Grid() const { return m_grid; }
    QAction* Item(const char* name) const;

    /** "Other": the open dialog, asked again while the chosen file holds no icons. */
    void ChooseOther();
    /** One of the shipped libraries by its file name ("activity.icl" ...). */
    void ChooseLibrary(const QString& fileName);
    /**
     * Brings the menu checks and the grid in line with the icon file of the preferences: the five library
     * items checked by the name, "Other" otherwise; an existing other file read; a file without icons
     * replaced by misc1.icl.
     */
    void SyncWithIconFile(const QString& iconFile);

    /** The shipped library of that name, in the data folder (names compare without regard to case). */
    static QString LibraryPath(const QString& fileName);

Q_SIGNALS:
    /** The grid's file changed through the menu: the main window saves its preferences and updates. */
    void fileChosen();
    /** The palette was hidden. */
    void hidden();
    /** The user closed the palette with its window's close button. */
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    /** What the user is told about a file whose icons were not all read. */
    QString problemMessage(const QString& file) const;

    QMenuBar* m_menu = nullptr;
    controls::TIconListBox* m_grid = nullptr;
    /** Placed where KV.ini last saw it, or by its first showing. */
    bool m_placed = false;
    QString m_reported; // the last damaged icon file named in a message
};

} // namespace app
