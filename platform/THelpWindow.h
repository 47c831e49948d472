#pragma once

#include "platform/HelpContents.h"

#include <QWidget>

class QAction;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace platform {

/**
 * The program's help window: the contents on the left, the page on the right, Back, Forward and Contents
 * above. It shows the help pages shipped with the program, so help works without a web browser; links to web
 * pages go to the browser when there is one.
 */
class THelpWindow : public QWidget
{
    Q_OBJECT

public:
    /** A help window on the pages of a help folder (with its contents file "contents.txt"). */
    explicit THelpWindow(const QString& helpFolder, QWidget* parent = nullptr);

    /** The program's one help window on the shipped help, made when first asked for. */
    static THelpWindow* Shared();

    /** Shows the topic a context number opens (0 and unknown numbers show the first topic); false when the
     * help pages are missing. */
    bool ShowContext(int context);
    /** Shows a page of the help folder ("file.html#anchor"); false when it does not exist. */
    bool ShowPage(const QString& page);
    /**
     * Shows the window in front; over a modal dialog it is modal itself, so it can be read and closed. A
     * window not on show opens wholly on the screen of the main window that asked for it (the outermost
     * window above asker), over that window; where it was left is kept while it still fits there.
     */
    void Present(QWidget* asker = nullptr);

    const QList<HelpTopic>& Topics() const { return m_topics; }
    QTextBrowser* Browser() const { return m_browser; }
    QTreeWidget* Contents() const { return m_contents; }
    /** The page shown, relative to the help folder ("file.html#anchor"). */
    QString CurrentPage() const;

private:
    void followLink(const QUrl& url);
    void selectTopicOf(const QUrl& url);
    QUrl urlOf(const QString& page) const;
    void placeOver(const QWidget& mainWindow);

    QString m_folder;
    QList<HelpTopic> m_topics;
    QTextBrowser* m_browser = nullptr;
    QTreeWidget* m_contents = nullptr;
    QList<QTreeWidgetItem*> m_items;
    bool m_placed = false;
};

} // namespace platform
