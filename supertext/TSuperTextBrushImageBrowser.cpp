#include "supertext/TSuperTextBrushImageBrowser.h"

#include "design/TGetLabelText.h"
#include "platform/Help.h"
#include "platform/ImageLoader.h"
#include "platform/Prompts.h"
#include "supertext/SampleArea.h"
#include "supertext/TQelSuperText.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace supertext {

namespace {

const QString kParentFolder = QStringLiteral("..");

} // namespace

QString TSuperTextBrushImageBrowser::FileMask()
{
    return QStringLiteral("*.BMP;*.DIB;*.JPG;*.JIF;*.PCX;*.RLE;*.TGA;*.ICO");
}

TSuperTextBrushImageBrowser::TSuperTextBrushImageBrowser(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SuperTextBrushImageBrowser"));
    setWindowTitle(tr("Load Texture Image"));
    auto* layout = new QVBoxLayout(this);
    auto* lists = new QGridLayout;
    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("DriveComboBox1"));
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("FolderLabel"));
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folders = new QListWidget(this);
    m_folders->setObjectName(QStringLiteral("DirectoryListBox1"));
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("FileListBox1"));
    auto* mask = new QLabel(FileMask(), this);
    mask->setObjectName(QStringLiteral("FilterLabel"));
    lists->addWidget(new QLabel(tr("Folders:"), this), 0, 0);
    lists->addWidget(m_folderLabel, 1, 0, 1, 2);
    lists->addWidget(m_folders, 2, 0);
    lists->addWidget(m_drives, 3, 0);
    lists->addWidget(new QLabel(tr("Files:"), this), 0, 1);
    lists->addWidget(m_files, 2, 1);
    lists->addWidget(mask, 3, 1);
    layout->addLayout(lists, 1);

    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setMinimumSize(420, 130);
    auto* area = new SampleArea;
    m_example = new TQelSuperText(area);
    m_example->setObjectName(QStringLiteral("SuperTextExample"));
    m_example->SetCaption(tr("Text"));
    m_example->Font()->SetHeight(-64);
    m_example->SetBorderStyle(design::bsNone);
    m_example->SetOutlineStyle(psSolid);
    m_example->SetOutlineWidth(1);
    area->Track(m_example);
    m_scrollBox->setWidget(area);
    layout->addWidget(m_scrollBox, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(tr("Ok"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { platform::ShowHelpTopic(this, 40012); });

    fillDrives();
    connect(m_drives, &QComboBox::activated, this,
            [this](int i) { OpenAt(m_drives->itemData(i).toString()); });
    connect(m_folders, &QListWidget::itemActivated, this, &TSuperTextBrushImageBrowser::openFolder);
    m_folders->installEventFilter(this);
    connect(m_files, &QListWidget::currentRowChanged, this, &TSuperTextBrushImageBrowser::fileChosen);
    design::CentreOverMainWindow(this);
}

void TSuperTextBrushImageBrowser::openFolder(const QListWidgetItem* item)
{
    OpenAt(QDir::cleanPath(QDir(m_folder).filePath(item->text())));
}

bool TSuperTextBrushImageBrowser::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on a folder opens it. The list passes the key on after opening, and the dialog would take it
    // for its OK button and close, so the folder list keeps it.
    if (watched == m_folders && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (const QListWidgetItem* item = m_folders->currentItem())
                openFolder(item);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSuperTextBrushImageBrowser::fillDrives()
{
    QStringList roots{QDir::rootPath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    }
    for (const QString& root : roots)
        m_drives->addItem(QDir::toNativeSeparators(root), root);
}

void TSuperTextBrushImageBrowser::OpenAt(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    const QString file = info.isFile() ? info.fileName() : QString();
    m_folder = QDir::cleanPath(folder);
    m_folderLabel->setText(QDir::toNativeSeparators(m_folder));
    // The drive list shows the volume the folder lies on.
    const QString root = QStorageInfo(m_folder).rootPath();
    const int drive = m_drives->findData(root.isEmpty() ? QDir::rootPath() : root);
    if (drive >= 0)
        m_drives->setCurrentIndex(drive);

    const QDir dir(m_folder);
    m_folders->clear();
    if (!dir.isRoot())
        m_folders->addItem(kParentFolder);
    m_folders->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));

    const QSignalBlocker quiet(m_files);
    m_files->clear();
    m_files->addItems(dir.entryList(FileMask().split(u';'), QDir::Files, QDir::Name | QDir::IgnoreCase));
    if (!file.isEmpty()) {
        const QList<QListWidgetItem*> found = m_files->findItems(file, Qt::MatchExactly);
        if (!found.isEmpty()) {
            m_files->setCurrentItem(found.first());
            LoadTexture(dir.filePath(file));
        }
    }
}

void TSuperTextBrushImageBrowser::fileChosen()
{
    if (QListWidgetItem* item = m_files->currentItem())
        LoadTexture(QDir(m_folder).filePath(item->text()));
}

bool TSuperTextBrushImageBrowser::LoadTexture(const QString& path)
{
    QString error;
    const QImage texture = platform::LoadImageFile(path, error);
    if (texture.isNull()) {
        // Every unreadable file is reported, and the texture shown before stays.
        platform::Prompts::Current().Error(this, tr("Error loading file!") + u'\n' + error);
        return false;
    }
    m_example->SetImage(texture);
    m_chosenFile = QFileInfo(path).absoluteFilePath();
    m_example->update();
    return true;
}

} // namespace supertext
