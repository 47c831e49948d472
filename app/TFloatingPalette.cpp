#include "app/TFloatingPalette.h"

#include "app/WindowPlacement.h"
#include "controls/TIconListBox.h"
#include "platform/Help.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMainWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {

const QString kPlacementClass = QStringLiteral("TFloatingPalette");
constexpr int kTitleButtonsRoom = 3 * 32;

struct Library
{
    const char* object;
    const char* caption;
    const char* file;
};

constexpr Library kLibraries[] = {
    {"mnuActivities", "Activities", "activity.icl"}, {"mnuEvents", "Events", "events.icl"},
    {"mnuHolidays", "Holidays", "holiday.icl"},      {"mnuMisc1", "Miscellaneous #1", "misc1.icl"},
    {"mnuMisc2", "Miscellaneous #2", "misc2.icl"},
};

} // namespace

QString TFloatingPalette::LibraryPath(const QString& fileName)
{
    return platform::DataFolder() + u'/' + fileName.toLower();
}

TFloatingPalette::TFloatingPalette(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FloatingPalette"));
    setWindowTitle(tr("Icons"));
    m_menu = new QMenuBar(this);
    QMenu* file = m_menu->addMenu(tr("File"));
    for (const Library& library : kLibraries) {
        QAction* item =
            file->addAction(tr(library.caption), this,
                            [this, name = QString::fromLatin1(library.file)] { ChooseLibrary(name); });
        item->setObjectName(QLatin1String(library.object));
        item->setCheckable(true);
    }
    QAction* other = file->addAction(tr("Other"), this, [this] { ChooseOther(); });
    other->setObjectName(QStringLiteral("mnuOther"));
    other->setCheckable(true);

    m_grid = new controls::TIconListBox(this);
    m_grid->setObjectName(QStringLiteral("IconGrid"));
    QPalette white = m_grid->palette();
    white.setColor(QPalette::Base, Qt::white);
    m_grid->setPalette(white);
    m_grid->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(m_menu);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_grid, 0, Qt::AlignHCenter);
    m_grid->SetXIcons(3);
    m_grid->SetYIcons(3);
    // Exactly three columns and three rows of icons above the scroll bar, in a 4-pixel border.
    m_grid->setFixedSize(m_grid->ColumnWidth() * 3 + 2 * m_grid->frameWidth() + 1,
                         m_grid->ItemHeight() * 3 + 2 * m_grid->frameWidth() +
                             m_grid->horizontalScrollBar()->sizeHint().height() + 1);
    // Wide enough for the title bar to show the title beside up to three of the window manager's buttons.
    QFont titleFont = font();
    titleFont.setBold(true);
    const int titleRoom = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + kTitleButtonsRoom;
    setFixedSize(std::max(m_grid->width() + 8, titleRoom),
                 m_grid->height() + 8 + m_menu->sizeHint().height());

    m_grid->SetFileName(LibraryPath(QStringLiteral("activity.icl")));
    m_placed = HasStoredPlacement(kPlacementClass);
    if (m_placed)
        RestorePlacement(*this, kPlacementClass, mainWindow);
    // Shown only through the main window, never with it.
    hide();
}

TFloatingPalette::~TFloatingPalette()
{
    SavePlacement(*this, kPlacementClass);
}

QAction* TFloatingPalette::Item(const char* name) const
{
    return findChild<QAction*>(QLatin1String(name));
}

void TFloatingPalette::ChooseLibrary(const QString& fileName)
{
    m_grid->SetFileName(LibraryPath(fileName));
    Q_EMIT fileChosen();
}

void TFloatingPalette::ChooseOther()
{
    const QString filter = tr("All Files (*.ICL *.DLL *.EXE *.ICO *.NIL *.icl *.dll *.exe *.ico *.nil);;"
                              "ICL Files (*.ICL *.icl);;DLL Files (*.DLL *.dll);;EXE Files (*.EXE *.exe);;"
                              "ICO Files (*.ICO *.ico);;NIL Files (*.NIL *.nil)");
    auto ask = [this, &filter] {
        return platform::Prompts::Current().OpenFileName(this, tr("Open"), platform::ProgramFolder(), filter);
    };
    std::optional<QString> chosen = ask();
    if (!chosen)
        return;
    m_grid->SetFileName(*chosen);
    while (m_grid->NumberOfIcons() == 0) {
        platform::Prompts::Current().Information(this, problemMessage(*chosen));
        chosen = ask();
        if (!chosen)
            break;
        m_grid->SetFileName(*chosen);
    }
    if (m_grid->NumberOfIcons() == 0)
        m_grid->SetFileName(LibraryPath(QStringLiteral("Misc1.icl")));
    else if (m_grid->LibraryProblem() != platform::IconLibrary::Problem::None)
        platform::Prompts::Current().Information(this, problemMessage(*chosen)); // the icons that were read
    Q_EMIT fileChosen();
}

QString TFloatingPalette::problemMessage(const QString& file) const
{
    using Problem = platform::IconLibrary::Problem;
    switch (m_grid->LibraryProblem()) {
    case Problem::None:
        return {};
    case Problem::NoIcons:
        return tr("No icons found in ") + file;
    case Problem::Damaged:
        if (m_grid->NumberOfIcons() > 0)
            return tr("Not all the icons of %1 can be read: %2.").arg(file, m_grid->LibraryError());
        break;
    default:
        break;
    }
    return tr("Unable to read icons from %1: %2.").arg(file, m_grid->LibraryError());
}

void TFloatingPalette::SyncWithIconFile(const QString& iconFile)
{
    // A stored name of a shipped library that is not where it says is the shipped one.
    QString file = iconFile;
    if (!file.isEmpty() && !QFileInfo::exists(file)) {
        for (const Library& library : kLibraries) {
            if (QFileInfo(file).fileName().compare(QLatin1String(library.file), Qt::CaseInsensitive) == 0)
                file = LibraryPath(QLatin1String(library.file));
        }
    }
    const QString upper = iconFile.toUpper();
    bool any = false;
    for (const Library& library : kLibraries) {
        const bool checked = upper.contains(QString::fromLatin1(library.file).toUpper());
        Item(library.object)->setChecked(checked);
        any = any || checked;
    }
    const bool exists = !file.isEmpty() && QFileInfo(file).isFile();
    if (any)
        Item("mnuOther")->setChecked(false);
    else if (exists)
        Item("mnuOther")->setChecked(true);
    if (exists && file.compare(m_grid->FileName(), Qt::CaseInsensitive) != 0) {
        m_grid->SetFileName(file);
        // A damaged file or one of another kind is reported once, not at every later check.
        const auto problem = m_grid->LibraryProblem();
        if (problem != platform::IconLibrary::Problem::None &&
            problem != platform::IconLibrary::Problem::NoIcons && file != m_reported) {
            m_reported = file;
            platform::Prompts::Current().Information(this, problemMessage(file));
        }
    }
    if (m_grid->NumberOfIcons() == 0)
        m_grid->SetFileName(LibraryPath(QStringLiteral("Misc1.icl")));
}

void TFloatingPalette::showEvent(QShowEvent* event)
{
    // The first time, the palette stands inside the main window at the right, below its menus and tool bars,
    // where it covers neither; the main window has its own place by then.
    if (!m_placed) {
        m_placed = true;
        if (const auto* main = qobject_cast<const QMainWindow*>(parentWidget());
            main && main->centralWidget()) {
            const QWidget* area = main->centralWidget();
            const QPoint topRight = area->mapToGlobal(QPoint(area->width(), 0));
            constexpr int kMargin = 24;
            move(topRight.x() - frameGeometry().width() - kMargin, topRight.y() + kMargin);
        }
    }
    QWidget::showEvent(event);
}

void TFloatingPalette::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    Q_EMIT hidden();
}

void TFloatingPalette::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // Hidden before the window hears of it, so the preferences it saves see the palette gone.
    hide();
    Q_EMIT closed();
}

} // namespace app
