#pragma once

#include "platform/Prompts.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRandomGenerator>
#include <QStringList>

class QMenu;
class QTimer;
class QWidget;

namespace app {
class TCalendarMain;
}

namespace apptesting {

/**
 * Random answers to every prompt the program asks through the prompts seam: questions Yes or No, fonts and
 * colours chosen or cancelled, files to open picked from the folder (or missing), files saved into the folder
 * (or into a folder that does not exist), printing into a PDF file or cancelled. Installed for its lifetime.
 */
class MonkeyPrompts : public platform::Prompts
{
public:
    MonkeyPrompts(QRandomGenerator& random, QString folder);
    ~MonkeyPrompts() override;

    void Information(QWidget* parent, const QString& text) override;
    bool Question(QWidget* parent, const QString& caption, const QString& text) override;
    Answer QuestionOrCancel(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<platform::FontChoice> ChooseFont(QWidget* parent, const platform::FontChoice& initial,
                                                   platform::FontDialogOptions options) override;
    std::optional<platform::TColor> ChooseColor(QWidget* parent, platform::TColor initial) override;
    std::optional<QString> OpenFileName(QWidget* parent, const QString& title, const QString& folder,
                                        const QString& filter) override;
    std::optional<QString> SaveFileName(QWidget* parent, const QString& title, const QString& proposed,
                                        const QString& filter) override;
    bool PrintSetup(QWidget* parent, QPrinter& printer, const QString& title) override;
    bool PrinterSetup(QWidget* parent, QPrinter& printer) override;

    /** Every message and question text shown, in order. */
    QStringList messages;

private:
    QRandomGenerator& m_random;
    QString m_folder;
};

/**
 * Drives the real main window with random user events from one seed: clicks and drags on the page, its
 * objects and the tool bars, typing, the keys the program handles, object creation with every tool, menus
 * and context menus, and a clipboard that cycles through empty, text, a picture and empty data. Every modal
 * dialog that opens is answered OK or Cancel at random (or closed); open pop-up menus are used or dismissed.
 */
class Monkey : public QObject
{
    Q_OBJECT

public:
    Monkey(app::TCalendarMain& window, quint32 seed, const QString& folder);
    ~Monkey() override;

    /** One random event and the events it causes. */
    void Step();
    /** The last events, newest last, for a failure message. */
    QString RecentEvents() const;
    /** Prints every event as it is sent (for following a crash by hand). */
    void SetTracing(bool on) { m_tracing = on; }
    int DialogsAnswered() const { return m_dialogsAnswered; }
    MonkeyPrompts& Prompts() { return m_prompts; }

private:
    void note(const QString& event);
    int pick(int count) { return int(m_random.bounded(quint32(count))); }
    bool chance(int percent) { return pick(100) < percent; }

    void usePopup(QWidget* popup);
    void clickPage();
    void dragOnPage();
    void pokeObject();
    void typeText();
    void pressKey();
    void createObject();
    void clickToolBar();
    void openMenu();
    void cycleClipboard();
    void newDocument();

    QPoint pagePoint();
    /** A click or double click at a point of top, delivered to the widget that lies there. */
    void clickAt(QWidget* top, QPoint point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                 bool twice = false);
    QWidget* keyTarget() const;
    void answerModal();
    /** One random change inside a dialog: a button, check box, list, spin box, text field or tab. */
    void fiddleWith(QWidget* dialog);
    void settle();

    app::TCalendarMain& m_window;
    QRandomGenerator m_random;
    MonkeyPrompts m_prompts;
    QString m_folder;
    QTimer* m_watchdog = nullptr;
    QPointer<QWidget> m_answering;
    int m_attempts = 0;
    int m_fiddlesLeft = 0;
    bool m_acceptAnswer = false;
    bool m_answerPending = false;
    int m_dialogsAnswered = 0;
    int m_clipboardState = 0;
    int m_events = 0;
    /** The time the program sees, in milliseconds: it moves on by a random pause before each event. */
    qint64 m_now = 1000;
    bool m_tracing = false;
    QStringList m_recent;
};

} // namespace apptesting
