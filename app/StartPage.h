#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace app {

/**
 * What the page area shows while no calendar is open: a short hint, "New Calendar" and "Open..." buttons and
 * the recent calendars. It covers its parent (the scroll area's viewport) and follows its size.
 */
class StartPage : public QWidget
{
    Q_OBJECT

public:
    explicit StartPage(QWidget* parent);

    /** Shows the recent calendars, newest first; the list is rebuilt only when it changed. */
    void SetRecentFiles(const QStringList& files);
    QStringList RecentFiles() const { return m_recentFiles; }

Q_SIGNALS:
    void newRequested();
    void openRequested();
    void recentRequested(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList m_recentFiles;
    QLabel* m_recentTitle = nullptr;
    QVBoxLayout* m_recentList = nullptr;
};

} // namespace app
