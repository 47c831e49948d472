#include "platform/THelpWindow.h"

#include "platform/ProgramFolder.h"
#include "platform/WebBrowser.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace platform {

namespace {

// The size the window opens at, where the screen has room for it.
constexpr int kPreferredWidth = 900;
constexpr int kPreferredHeight = 640;

/** The outermost window above a widget: the main window a dialog was opened from. */
QWidget* MainWindowOf(QWidget* widget)
{
    QWidget* window = widget ? widget->window() : nullptr;
    while (window && window->parentWidget())
        window = window->parentWidget()->window();
    return window;
}

/** What the window manager's frame adds round a window on show (nothing before it ever was). */
QMargins FrameOf(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect inside = window->geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
            frame.bottom() - inside.bottom()};
}

} // namespace

THelpWindow::THelpWindow(const QString& helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folder(QDir::cleanPath(helpFolder))
{
    setObjectName(QStringLiteral("HelpWindow"));
    // An open help window does not keep the program running once its main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(tr("Datoria Help"));
    m_topics = ReadHelpContents(m_folder + QStringLiteral("/contents.txt"));

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("HelpToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto addButton = [this, bar](const QString& text, const char* name, const QString& hint,
                                 QStyle::StandardPixmap icon, const QKeySequence& keys) {
        QAction* action = bar->addAction(style()->standardIcon(icon), text);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(hint);
        action->setShortcut(keys);
        QWidget* button = bar->widgetForAction(action);
        button->setObjectName(QLatin1String(name) + QStringLiteral("Button"));
        button->setAccessibleName(hint);
        return action;
    };
    QAction* back = addButton(tr("&Back"), "HelpBack", tr("Back to the page shown before"),
                              QStyle::SP_ArrowBack, QKeySequence::Back);
    QAction* forward = addButton(tr("&Forward"), "HelpForward", tr("Forward to the next page"),
                                 QStyle::SP_ArrowForward, QKeySequence::Forward);
    QAction* home = addButton(tr("&Contents"), "HelpHome", tr("The first page of the help"),
                              QStyle::SP_DirHomeIcon, QKeySequence(Qt::ALT | Qt::Key_Home));

    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_contents->setAccessibleName(tr("Help contents"));
    m_contents->setHeaderHidden(true);
    m_contents->setColumnCount(1);
    QList<QTreeWidgetItem*> parents;
    for (const HelpTopic& topic : m_topics) {
        while (parents.size() > topic.level)
            parents.removeLast();
        auto* item =
            parents.isEmpty() ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.last());
        item->setText(0, topic.title);
        item->setData(0, Qt::UserRole, topic.page);
        m_items.append(item);
        parents.append(item);
    }
    m_contents->expandAll();

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setAccessibleName(tr("Help page"));
    m_browser->setOpenLinks(false);
    m_browser->setSearchPaths({m_folder});

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(splitter, 1);

    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { ShowContext(0); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &THelpWindow::followLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &THelpWindow::selectTopicOf);
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowPage(item->data(0, Qt::UserRole).toString()); });
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowPage(item->data(0, Qt::UserRole).toString()); });

    const QSize available = QGuiApplication::primaryScreen()
                                ? QGuiApplication::primaryScreen()->availableSize()
                                : QSize(1024, 768);
    resize(std::min(kPreferredWidth, available.width() * 9 / 10),
           std::min(kPreferredHeight, available.height() * 9 / 10));
    splitter->setSizes({std::max(260, width() * 2 / 5), width() * 3 / 5});
}

THelpWindow* THelpWindow::Shared()
{
    static QPointer<THelpWindow> shared;
    if (!shared) {
        shared = new THelpWindow(DataFolder() + QStringLiteral("/help"));
        connect(qApp, &QCoreApplication::aboutToQuit, shared, &QObject::deleteLater);
    }
    return shared;
}

QUrl THelpWindow::urlOf(const QString& page) const
{
    const QString file = page.section(u'#', 0, 0);
    QUrl url = QUrl::fromLocalFile(m_folder + u'/' + file);
    if (page.contains(u'#'))
        url.setFragment(page.section(u'#', 1));
    return url;
}

bool THelpWindow::ShowPage(const QString& page)
{
    const QUrl url = urlOf(page);
    if (!QFileInfo(url.toLocalFile()).isFile())
        return false;
    // The same file again only scrolls to the anchor; setSource keeps the history either way.
    m_browser->setSource(url);
    if (url.hasFragment())
        m_browser->scrollToAnchor(url.fragment());
    return true;
}

bool THelpWindow::ShowContext(int context)
{
    QString page = HelpPageForContext(m_topics, context);
    if (page.isEmpty() && !m_topics.isEmpty())
        page = m_topics.first().page;
    return !page.isEmpty() && ShowPage(page);
}

QString THelpWindow::CurrentPage() const
{
    const QUrl source = m_browser->source();
    QString page = QDir(m_folder).relativeFilePath(source.toLocalFile());
    if (source.hasFragment())
        page += u'#' + source.fragment();
    return page;
}

void THelpWindow::placeOver(const QWidget& mainWindow)
{
    QScreen* screen = mainWindow.screen();
    const QRect available = screen->availableGeometry();
    if (m_placed && available.contains(frameGeometry()))
        return;
    // This window's frame is unknown before its first showing; the main window's is the same manager's.
    const QMargins frame = FrameOf(&mainWindow);
    resize(std::min(kPreferredWidth, available.width() * 9 / 10 - frame.left() - frame.right()),
           std::min(kPreferredHeight, available.height() * 9 / 10 - frame.top() - frame.bottom()));
    // Centred over the main window, then moved as little as it takes to lie wholly on the screen; a window
    // larger than the screen keeps its title bar on it.
    const QSize outer = size().grownBy(frame);
    QPoint corner = mainWindow.frameGeometry().center() - QPoint(outer.width() / 2, outer.height() / 2);
    corner.setX(std::max(available.left(), std::min(corner.x(), available.right() + 1 - outer.width())));
    corner.setY(std::max(available.top(), std::min(corner.y(), available.bottom() + 1 - outer.height())));
    setScreen(screen);
    move(corner);
    m_placed = true;
}

void THelpWindow::Present(QWidget* asker)
{
    // A modal dialog blocks every other window: help asked for from one is modal itself, so it can be used.
    const Qt::WindowModality wanted =
        QApplication::activeModalWidget() && QApplication::activeModalWidget() != this ? Qt::ApplicationModal
                                                                                       : Qt::NonModal;
    if (windowModality() != wanted) {
        hide();
        setWindowModality(wanted);
    }
    if (!isVisible()) {
        const QWidget* mainWindow = MainWindowOf(asker ? asker : QApplication::activeWindow());
        if (mainWindow && mainWindow != this)
            placeOver(*mainWindow);
    }
    show();
    raise();
    activateWindow();
}

void THelpWindow::followLink(const QUrl& url)
{
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
        url.scheme() == QLatin1String("mailto")) {
        OpenWebPage(this, url);
        return;
    }
    const QUrl resolved = m_browser->source().resolved(url);
    if (resolved.isLocalFile() && QFileInfo(resolved.toLocalFile()).isFile()) {
        m_browser->setSource(resolved);
        if (resolved.hasFragment())
            m_browser->scrollToAnchor(resolved.fragment());
    }
}

void THelpWindow::selectTopicOf(const QUrl& url)
{
    QString page = QDir(m_folder).relativeFilePath(url.toLocalFile());
    const QString withAnchor = url.hasFragment() ? page + u'#' + url.fragment() : page;
    QTreeWidgetItem* best = nullptr;
    for (QTreeWidgetItem* item : m_items) {
        const QString itemPage = item->data(0, Qt::UserRole).toString();
        if (itemPage == withAnchor) {
            best = item;
            break;
        }
        if (!best && itemPage == page)
            best = item;
    }
    const QSignalBlocker blocker(m_contents);
    m_contents->setCurrentItem(best);
}

} // namespace platform
