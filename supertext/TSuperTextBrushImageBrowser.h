#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QScrollArea;

namespace supertext {

class TQelSuperText;

/**
 * "Load Texture Image": a drive list, a folder list and the picture files of the folder; the file chosen is
 * shown at once as the texture of an example SuperText.
 */
class TSuperTextBrushImageBrowser : public QDialog
{
    Q_OBJECT

public:
    explicit TSuperTextBrushImageBrowser(QWidget* parent = nullptr);

    /** The picture files the browser lists. */
    static QString FileMask();

    TQelSuperText* SuperTextExample() const { return m_example; }
    /** Opens a folder, or the folder of a file with that file chosen. */
    void OpenAt(const QString& path);
    QString Folder() const { return m_folder; }
    /** The file whose picture the example shows; empty until one loads. */
    QString ChosenFile() const { return m_chosenFile; }

    /**
     * Makes the file's picture the example's texture, read by the program's picture loader (an icon, like
     * any see-through picture, lands on an opaque bitmap of its size). A file that cannot be read is
     * reported and the example keeps the texture it had.
     */
    bool LoadTexture(const QString& path);

    QListWidget* Folders() const { return m_folders; }
    QListWidget* Files() const { return m_files; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillDrives();
    void fileChosen();
    void openFolder(const QListWidgetItem* item);

    QComboBox* m_drives = nullptr;
    QLabel* m_folderLabel = nullptr;
    QListWidget* m_folders = nullptr;
    QListWidget* m_files = nullptr;
    QScrollArea* m_scrollBox = nullptr;
    TQelSuperText* m_example = nullptr;
    QString m_folder;
    QString m_chosenFile;
};

} // namespace supertext
