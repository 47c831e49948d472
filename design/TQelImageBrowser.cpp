#include "design/TQelImageBrowser.h"

#include "platform/Help.h"
#include "platform/ImageLoader.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace design {

/** The preview: the picture stretched over the widget, which has the picture's size or the view's. */
class PicturePreview : public QWidget
{
public:
    using QWidget::QWidget;
    void SetPicture(const platform::TPicture* picture, bool stretch)
    {
        m_picture = picture;
        m_stretch = stretch;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_picture || m_picture->IsEmpty())
            return;
        QPainter painter(this);
        const QRectF target = m_stretch ? QRectF(rect()) : QRectF(QPointF(0, 0), QSizeF(m_picture->Size()));
        m_picture->Draw(painter, target);
    }

private:
    const platform::TPicture* m_picture = nullptr;
    bool m_stretch = false;
};

TQelImageBrowser::TQelImageBrowser(QWidget* mainWindow) : QDialog(mainWindow)
{
    setObjectName(QStringLiteral("QelImageBrowser"));
    setWindowTitle(tr("Load Image File "));
    setFixedSize(592, 300);

    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("DriveList"));
    for (const QFileInfo& drive : QDir::drives())
        m_drives->addItem(drive.absoluteFilePath());
    m_folders = new QListWidget(this);
    m_folders->setObjectName(QStringLiteral("DirectoryList"));
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("FileList"));
    m_files->setToolTip(platform::PictureFileMask());
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("PreviewBox"));
    m_scroll->setFixedSize(222, 207);
    m_scroll->setBackgroundRole(QPalette::Base);
    m_preview = new PicturePreview;
    m_preview->setObjectName(QStringLiteral("Preview"));
    m_preview->resize(218, 203);
    m_scroll->setWidget(m_preview);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("Message"));
    m_message->setWordWrap(true);
    m_message->setMaximumWidth(222);

    auto* ok = new QPushButton(tr("Ok"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { platform::ShowHelpTopic(this, 40003); });
    auto* options = new QGroupBox(tr(" Options "), this);
    m_stretch = new QCheckBox(tr("Stretch"), options);
    m_stretch->setObjectName(QStringLiteral("StretchBox"));
    m_stretch->setToolTip(tr("Stretch image to max display size"));
    m_autoSize = new QCheckBox(tr("AutoSize"), options);
    m_autoSize->setObjectName(QStringLiteral("AutoSizeBox"));
    m_autoSize->setToolTip(tr("AutoSize TImage"));
    auto* optionsLayout = new QHBoxLayout(options);
    optionsLayout->addWidget(m_stretch);
    optionsLayout->addWidget(m_autoSize);

    auto* left = new QVBoxLayout;
    left->addWidget(m_drives);
    left->addWidget(m_folders);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(m_files, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(m_scroll);
    right->addWidget(m_message);
    right->addStretch();
    top->addLayout(right);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    bottom->addWidget(help);
    bottom->addStretch();
    bottom->addWidget(options);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    // Checking one option unchecks the other; the preview follows either.
    connect(m_stretch, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_autoSize->setChecked(false);
        layoutPreview();
    });
    connect(m_autoSize, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_stretch->setChecked(false);
        layoutPreview();
    });
    connect(m_drives, &QComboBox::textActivated, this, [this](const QString& drive) { SetFolder(drive); });
    connect(m_folders, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { SetFolder(QDir(m_folder).absoluteFilePath(item->text())); });
    connect(m_files, &QListWidget::currentItemChanged, this, [this] { showPreview(); });

    if (mainWindow) {
        const QRect main = mainWindow->frameGeometry();
        move(main.left() + (main.width() - width()) / 2, main.top() + (main.height() - height()) / 2);
    }
    QApplication::restoreOverrideCursor();
    SetFolder(QDir::currentPath());
    m_files->setFocus();
}

void TQelImageBrowser::SetFolder(const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists())
        return;
    m_folder = dir.absolutePath();
    QDir::setCurrent(m_folder);
    m_folders->clear();
    if (!dir.isRoot())
        m_folders->addItem(QStringLiteral(".."));
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        m_folders->addItem(sub);
    m_files->clear();
    const QStringList mask = platform::PictureFileMask().split(u';');
    // The mask is upper case; names compare without regard to case, as on the system the mask comes from.
    QStringList names;
    for (const QFileInfo& info : QDir(m_folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        const QString ext = QStringLiteral("*.") + info.suffix().toUpper();
        if (mask.contains(ext))
            names.append(info.fileName());
    }
    m_files->addItems(names);
    m_picture = platform::TPicture();
    m_message->clear();
    layoutPreview();
}

bool TQelImageBrowser::SelectFile(const QString& name)
{
    const QList<QListWidgetItem*> found = m_files->findItems(name, Qt::MatchFixedString);
    if (found.isEmpty())
        return false;
    m_files->setCurrentItem(found.first());
    return true;
}

QString TQelImageBrowser::SelectedFile() const
{
    const QListWidgetItem* item = m_files->currentItem();
    return item ? QDir(m_folder).absoluteFilePath(item->text()) : QString();
}

QString TQelImageBrowser::Message() const
{
    return m_message->text();
}

bool TQelImageBrowser::Stretch() const
{
    return m_stretch->isChecked();
}

void TQelImageBrowser::SetStretch(bool on)
{
    m_stretch->setChecked(on);
}

bool TQelImageBrowser::AutoSize() const
{
    return m_autoSize->isChecked();
}

void TQelImageBrowser::SetAutoSize(bool on)
{
    m_autoSize->setChecked(on);
}

void TQelImageBrowser::showPreview()
{
    const QString file = SelectedFile();
    if (file.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    m_picture = platform::LoadPictureFile(file, error, QSize(kMaxPictureSide, kMaxPictureSide));
    QApplication::restoreOverrideCursor();
    m_message->setText(m_picture.IsEmpty() ? error : QString());
    layoutPreview();
    if (m_picture.IsEmpty()) {
        const QString ext = QFileInfo(file).suffix().toUpper();
        if (ext == QLatin1String("BMP") || ext == QLatin1String("WMF"))
            platform::Prompts::Current().Information(this, tr("Error loading file!"));
    }
}

void TQelImageBrowser::layoutPreview()
{
    // AutoSize: the picture's own size. Otherwise the preview fills the box, stretching the picture or not.
    const QSize view = m_scroll->maximumViewportSize();
    if (m_autoSize->isChecked() && !m_picture.IsEmpty())
        m_preview->resize(m_picture.Size());
    else
        m_preview->resize(view);
    m_preview->SetPicture(&m_picture, m_stretch->isChecked());
}

} // namespace design
