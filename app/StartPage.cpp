#include "app/StartPage.h"

#include <QCommandLinkButton>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

StartPage::StartPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StartPage"));
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);

    auto* card = new QFrame(this);
    card->setObjectName(QStringLiteral("StartCard"));
    card->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    card->setBackgroundRole(QPalette::Window);
    card->setAutoFillBackground(true);
    card->setMaximumWidth(460);

    auto* title = new QLabel(tr("No calendar is open"), card);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);
    auto* hint = new QLabel(tr("Start a new calendar page, or open a calendar you have saved. "
                               "You can also drop a calendar file (*.KVF) on this window."),
                            card);
    hint->setWordWrap(true);

    auto* newButton = new QPushButton(tr("New Calendar"), card);
    newButton->setObjectName(QStringLiteral("StartNewButton"));
    newButton->setDefault(true);
    auto* openButton = new QPushButton(tr("Open..."), card);
    openButton->setObjectName(QStringLiteral("StartOpenButton"));
    connect(newButton, &QPushButton::clicked, this, &StartPage::newRequested);
    connect(openButton, &QPushButton::clicked, this, &StartPage::openRequested);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newButton);
    buttons->addWidget(openButton);
    buttons->addStretch();

    m_recentTitle = new QLabel(tr("Recent calendars"), card);
    QFont bold = m_recentTitle->font();
    bold.setBold(true);
    m_recentTitle->setFont(bold);
    m_recentTitle->hide();
    m_recentList = new QVBoxLayout;
    m_recentList->setSpacing(0);

    auto* inner = new QVBoxLayout(card);
    inner->setContentsMargins(18, 14, 18, 14);
    inner->addWidget(title);
    inner->addWidget(hint);
    inner->addSpacing(6);
    inner->addLayout(buttons);
    inner->addSpacing(10);
    inner->addWidget(m_recentTitle);
    inner->addLayout(m_recentList);

    auto* centre = new QHBoxLayout;
    centre->addStretch();
    centre->addWidget(card, 3);
    centre->addStretch();
    auto* outer = new QVBoxLayout(this);
    outer->addStretch();
    outer->addLayout(centre);
    outer->addStretch(2);

    if (parent) {
        parent->installEventFilter(this);
        setGeometry(parent->rect());
    }
}

void StartPage::SetRecentFiles(const QStringList& files)
{
    if (files == m_recentFiles)
        return;
    m_recentFiles = files;
    // The list may change from an entry's own click, so the old entries go once that click is over.
    while (QLayoutItem* item = m_recentList->takeAt(0)) {
        if (QWidget* entry = item->widget()) {
            entry->setObjectName(QString());
            entry->hide();
            entry->deleteLater();
        }
        delete item;
    }
    int number = 0;
    for (const QString& file : files) {
        const QFileInfo info(file);
        auto* entry =
            new QCommandLinkButton(info.fileName(), info.absolutePath(), m_recentTitle->parentWidget());
        entry->setObjectName(QStringLiteral("StartRecent%1").arg(++number));
        connect(entry, &QPushButton::clicked, this, [this, file] { Q_EMIT recentRequested(file); });
        m_recentList->addWidget(entry);
    }
    m_recentTitle->setVisible(!files.isEmpty());
}

bool StartPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace app
