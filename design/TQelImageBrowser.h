#pragma once

#include "platform/TPicture.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QScrollArea;

namespace design {

class PicturePreview;

/**
 * "Load Image File ": drives, folders and the picture files of a folder (BMP, DIB, JPG, JIF, PCX, RLE, TGA,
 * WMF, ICO), a preview of the selected file, and the options Stretch and AutoSize.
 */
class TQelImageBrowser : public QDialog
{
    Q_OBJECT

public:
    explicit TQelImageBrowser(QWidget* mainWindow = nullptr);

    /** Shows the folder's subfolders and picture files. */
    void SetFolder(const QString& folder);
    QString Folder() const { return m_folder; }
    /** Selects a file of the list by name; the preview follows. */
    bool SelectFile(const QString& name);
    /** The selected file's full name, empty when none is selected. */
    QString SelectedFile() const;
    const platform::TPicture& PreviewPicture() const { return m_picture; }
    /** The message under the preview: empty, or why the selected file could not be shown. */
    QString Message() const;

    bool Stretch() const;
    void SetStretch(bool on);
    bool AutoSize() const;
    void SetAutoSize(bool on);

    QListWidget* FileList() const { return m_files; }
    QListWidget* FolderList() const { return m_folders; }

    /** Pictures larger than this on a side are scaled down while they are read. */
    static constexpr int kMaxPictureSide = 2048;

private:
    void showPreview();
    void layoutPreview();

    QString m_folder;
    QComboBox* m_drives = nullptr;
    QListWidget* m_folders = nullptr;
    QListWidget* m_files = nullptr;
    QScrollArea* m_scroll = nullptr;
    PicturePreview* m_preview = nullptr;
    QLabel* m_message = nullptr;
    QCheckBox* m_stretch = nullptr;
    QCheckBox* m_autoSize = nullptr;
    platform::TPicture m_picture;
};

} // namespace design
