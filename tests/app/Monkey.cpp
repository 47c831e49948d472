#include "tests/app/Monkey.h"

#include "app/TCalendarMain.h"
#include "calendar/TCalendarPanel32.h"
#include "design/TQelGraphicControl.h"
#include "platform/Clock.h"
#include "richtext/TVelRichEdit.h"
#include "richtext/TVelRichToolBar.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSize>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include <cstdio>
#include <iterator>

namespace apptesting {

namespace {

// What a user types: plain words, accents, symbols, other scripts, characters outside the BMP, a long line.
const QStringList kTexts = {
    QStringLiteral("a"),
    QStringLiteral("Hello world"),
    QStringLiteral("Zoë’s party — 8 pm"),
    QStringLiteral("€ 5,00"),
    QStringLiteral("日本語のテキスト"),
    QStringLiteral("😀 🎂"),
    QStringLiteral("{\\rtf1 not really}"),
    QStringLiteral("1234567890"),
    QStringLiteral("Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor"),
};

const QStringList kFonts = {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif"),
                            QStringLiteral("Liberation Mono")};

// The tools that create objects, by the names of their buttons.
const char* const kTools[] = {"DrawLabelButton", "DrawImageButton", "DrawRichText", "DrawSuperText",
                              "PSpeedButton1"};

constexpr qsizetype kEnoughObjects = 60;

struct KeyPress
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* name;
};

const KeyPress kKeys[] = {
    {Qt::Key_Tab, Qt::NoModifier, "Tab"},
    {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
    {Qt::Key_Delete, Qt::NoModifier, "Delete"},
    {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
    {Qt::Key_PageUp, Qt::NoModifier, "Page Up"},
    {Qt::Key_PageDown, Qt::NoModifier, "Page Down"},
    {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
    {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
    {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
    {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
    {Qt::Key_S, Qt::ControlModifier, "Ctrl+S"},
    {Qt::Key_Escape, Qt::NoModifier, "Escape"},
    {Qt::Key_Return, Qt::NoModifier, "Return"},
    {Qt::Key_Left, Qt::NoModifier, "Left"},
    {Qt::Key_Right, Qt::NoModifier, "Right"},
    {Qt::Key_Up, Qt::NoModifier, "Up"},
    {Qt::Key_Down, Qt::NoModifier, "Down"},
    {Qt::Key_Right, Qt::ShiftModifier, "Shift+Right"},
    {Qt::Key_Down, Qt::ShiftModifier, "Shift+Down"},
    {Qt::Key_Left, Qt::ShiftModifier, "Shift+Left"},
};

QString Describe(const QWidget* widget)
{
    if (!widget)
        return QStringLiteral("nothing");
    const QString name = widget->objectName();
    return QString::fromLatin1(widget->metaObject()->className()) +
           (name.isEmpty() ? QString() : u' ' + name);
}

QString Plain(QString text)
{
    return text.remove(u'&').trimmed();
}

/** The button of a dialog that gives the answer, or nothing when the dialog has no such button. */
QAbstractButton* AnswerButton(QWidget* dialog, bool accept)
{
    for (auto* box : dialog->findChildren<QDialogButtonBox*>()) {
        if (!box->isVisible())
            continue;
        for (QAbstractButton* button : box->buttons()) {
            const auto role = box->buttonRole(button);
            const bool accepting = role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::YesRole;
            const bool rejecting = role == QDialogButtonBox::RejectRole || role == QDialogButtonBox::NoRole;
            if (button->isVisible() && button->isEnabled() && (accept ? accepting : rejecting))
                return button;
        }
    }
    static const QStringList acceptTexts = {QStringLiteral("OK"), QStringLiteral("Ok"), QStringLiteral("Yes"),
                                            QStringLiteral("Select"), QStringLiteral("Open")};
    static const QStringList rejectTexts = {QStringLiteral("Cancel"), QStringLiteral("No"),
                                            QStringLiteral("Close")};
    QAbstractButton* fallback = nullptr;
    for (auto* button : dialog->findChildren<QPushButton*>()) {
        if (!button->isVisible() || !button->isEnabled() || button->window() != dialog)
            continue;
        if ((accept ? acceptTexts : rejectTexts).contains(Plain(button->text()), Qt::CaseInsensitive))
            return button;
        if (accept && button->isDefault())
            fallback = button;
    }
    return fallback;
}

/** Types text one character at a time, as a keyboard does (QTest::keyClicks takes only ASCII). */
void TypeInto(QWidget* target, const QString& text)
{
    QPointer<QWidget> alive = target;
    for (const char32_t code : text.toUcs4()) {
        if (!alive)
            return;
        const QString character = QString::fromUcs4(&code, 1);
        Qt::Key key = Qt::Key_unknown;
        if (code < 128 && QChar(code).isLetterOrNumber())
            key = Qt::Key(QChar(code).toUpper().unicode());
        else if (code == U' ')
            key = Qt::Key_Space;
        QTest::sendKeyEvent(QTest::Click, alive, key, character, Qt::NoModifier);
    }
}

} // namespace

// ---- prompts

MonkeyPrompts::MonkeyPrompts(QRandomGenerator& random, QString folder)
    : m_random(random), m_folder(std::move(folder))
{
    Install(this);
}

MonkeyPrompts::~MonkeyPrompts()
{
    Install(nullptr);
}

void MonkeyPrompts::Information(QWidget*, const QString& text)
{
    messages.append(text);
}

bool MonkeyPrompts::Question(QWidget*, const QString&, const QString& text)
{
    messages.append(text);
    return m_random.bounded(2) == 0;
}

platform::Prompts::Answer MonkeyPrompts::QuestionOrCancel(QWidget*, const QString&, const QString& text)
{
    messages.append(text);
    const int answer = m_random.bounded(3);
    return answer == 0 ? Answer::Yes : answer == 1 ? Answer::No : Answer::Cancel;
}

std::optional<platform::FontChoice> MonkeyPrompts::ChooseFont(QWidget*, const platform::FontChoice& initial,
                                                              platform::FontDialogOptions)
{
    if (m_random.bounded(3) == 0)
        return std::nullopt;
    static const int sizes[] = {1, 8, 12, 36, 120};
    QFont font(kFonts.at(int(m_random.bounded(quint32(kFonts.size())))));
    font.setPointSize(sizes[m_random.bounded(5)]);
    font.setBold(m_random.bounded(2) == 0);
    font.setItalic(m_random.bounded(2) == 0);
    font.setUnderline(m_random.bounded(4) == 0);
    return platform::FontChoice{font, m_random.bounded(2) ? initial.color
                                                          : platform::TColor(m_random.generate() & 0xFFFFFF)};
}

std::optional<platform::TColor> MonkeyPrompts::ChooseColor(QWidget*, platform::TColor)
{
    if (m_random.bounded(3) == 0)
        return std::nullopt;
    return platform::TColor(m_random.generate() & 0xFFFFFF);
}

std::optional<QString> MonkeyPrompts::OpenFileName(QWidget*, const QString&, const QString&,
                                                   const QString& filter)
{
    if (m_random.bounded(4) == 0)
        return std::nullopt;
    // The files of the folder that the filter offers, and one that does not exist.
    QStringList suffixes;
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    for (const auto& match : pattern.globalMatch(filter))
        suffixes.append(match.captured(1).toLower());
    QStringList candidates;
    for (const QFileInfo& file : QDir(m_folder).entryInfoList(QDir::Files, QDir::Name)) {
        if (suffixes.isEmpty() || suffixes.contains(file.suffix().toLower()))
            candidates.append(file.absoluteFilePath());
    }
    candidates.append(m_folder + QStringLiteral("Missing.") +
                      (suffixes.isEmpty() ? QStringLiteral("KVF") : suffixes.first()));
    return candidates.at(int(m_random.bounded(quint32(candidates.size()))));
}

std::optional<QString> MonkeyPrompts::SaveFileName(QWidget*, const QString&, const QString& proposed,
                                                   const QString&)
{
    const quint32 roll = m_random.bounded(10);
    if (roll < 2)
        return std::nullopt;
    const QString name = QFileInfo(proposed).fileName();
    if (roll == 2)
        return m_folder + QStringLiteral("no such folder/") + name;
    return m_folder + name;
}

bool MonkeyPrompts::PrintSetup(QWidget*, QPrinter& printer, const QString&)
{
    if (m_random.bounded(4) != 0)
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_folder + QStringLiteral("Printed.pdf"));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    return true;
}

bool MonkeyPrompts::PrinterSetup(QWidget*, QPrinter&)
{
    return m_random.bounded(2) == 0;
}

// ---- the monkey

Monkey::Monkey(app::TCalendarMain& window, quint32 seed, const QString& folder)
    : m_window(window), m_random(seed), m_prompts(m_random, folder), m_folder(folder)
{
    // Files the open dialogs can offer besides what the run saves: damaged ones and a picture.
    QByteArray noise(700, Qt::Uninitialized);
    for (char& byte : noise)
        byte = char(m_random.bounded(256));
    for (const char* name : {"Damaged.KVF", "Damaged.KVS", "Damaged.ics"}) {
        QFile file(folder + QLatin1String(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(noise);
    }
    QFile events(folder + QStringLiteral("Events.ics"));
    if (events.open(QIODevice::WriteOnly))
        events.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//monkey//EN\r\nBEGIN:VEVENT\r\n"
                     "UID:1@monkey\r\nDTSTART;VALUE=DATE:20261224\r\nRRULE:FREQ=WEEKLY\r\n"
                     "SUMMARY:Choir practice\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    QImage picture(48, 32, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    picture.save(folder + QStringLiteral("Picture.png"));

    // The program's clock is the monkey's, so quick clicks and repeated pastes happen on every run alike.
    platform::SetTickCountOverride([this] { return m_now; });
    m_watchdog = new QTimer(this);
    m_watchdog->setInterval(10);
    connect(m_watchdog, &QTimer::timeout, this, &Monkey::answerModal);
    m_watchdog->start();
}

Monkey::~Monkey()
{
    platform::SetTickCountOverride({});
}

void Monkey::note(const QString& event)
{
    const QString line = QStringLiteral("%1: %2").arg(m_events).arg(event);
    if (m_tracing) {
        std::fprintf(stderr, "monkey %s\n", qPrintable(line));
        std::fflush(stderr);
    }
    m_recent.append(line);
    if (m_recent.size() > 40)
        m_recent.removeFirst();
}

QString Monkey::RecentEvents() const
{
    return m_recent.join(u'\n');
}

void Monkey::Step()
{
    ++m_events;
    // Mostly a quick succession, now and then a pause of a second or two.
    m_now += chance(70) ? 5 + pick(200) : 200 + pick(2000);
    if (QWidget* popup = QApplication::activePopupWidget()) {
        usePopup(popup);
    } else if (m_window.Page()->isHidden() && chance(30)) {
        newDocument();
    } else {
        const int roll = pick(100);
        if (roll < 16)
            clickPage();
        else if (roll < 25)
            dragOnPage();
        else if (roll < 37)
            pokeObject();
        else if (roll < 49)
            typeText();
        else if (roll < 70)
            pressKey();
        else if (roll < 77)
            createObject();
        else if (roll < 85)
            clickToolBar();
        else if (roll < 91)
            openMenu();
        else if (roll < 95)
            cycleClipboard();
        else {
            const QPoint point = pagePoint();
            note(QStringLiteral("right click on the page at %1,%2").arg(point.x()).arg(point.y()));
            clickAt(m_window.Page()->parentWidget(), point + m_window.Page()->pos(), Qt::RightButton, {});
        }
    }
    settle();
}

void Monkey::settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    // A user works in the window: after a dialog or the palette it is the active one again.
    if (!QApplication::activeModalWidget() && !QApplication::activePopupWidget() &&
        !m_window.isActiveWindow())
        m_window.activateWindow();
}

void Monkey::usePopup(QWidget* popup)
{
    auto* menu = qobject_cast<QMenu*>(popup);
    QList<QAction*> items;
    if (menu) {
        for (QAction* action : menu->actions()) {
            if (action->isVisible() && action->isEnabled() && !action->isSeparator() &&
                action->objectName() != QLatin1String("mnuExit"))
                items.append(action);
        }
    }
    if (items.isEmpty() || chance(25)) {
        note(QStringLiteral("Escape on the pop-up %1").arg(Describe(popup)));
        QTest::keyClick(popup, Qt::Key_Escape);
        return;
    }
    QAction* item = items.at(pick(int(items.size())));
    note(QStringLiteral("menu item \"%1\" (%2)").arg(Plain(item->text()), item->objectName()));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

QPoint Monkey::pagePoint()
{
    calendar::TCalendarPanel32* page = m_window.Page();
    const QList<design::TQelGraphicControl*> objects = page->PlacedObjects();
    if (!objects.isEmpty() && chance(25)) {
        const QRect bounds = objects.at(pick(int(objects.size())))->geometry();
        return bounds.topLeft() +
               QPoint(pick(std::max(1, bounds.width())), pick(std::max(1, bounds.height())));
    }
    if (page->UsesDayCells() && chance(40)) {
        const platform::TRect free = page->Cell(1 + pick(calendar::kCellCount)).rFree;
        if (free.right > free.left && free.bottom > free.top)
            return {free.left + pick(free.right - free.left), free.top + pick(free.bottom - free.top)};
    }
    return {pick(std::max(1, page->width())), pick(std::max(1, page->height()))};
}

void Monkey::clickAt(QWidget* top, QPoint point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                     bool twice)
{
    QWidget* target = top->childAt(point);
    if (!target)
        target = top;
    const QPoint local = target->mapFrom(top, point);
    if (twice)
        QTest::mouseDClick(target, button, modifiers, local);
    else
        QTest::mouseClick(target, button, modifiers, local);
}

void Monkey::clickPage()
{
    const QPoint point = pagePoint();
    const Qt::KeyboardModifiers modifiers = chance(15) ? Qt::ShiftModifier : Qt::NoModifier;
    note(QStringLiteral("click on the page at %1,%2%3")
             .arg(point.x())
             .arg(point.y())
             .arg(modifiers ? QStringLiteral(" with Shift") : QString()));
    clickAt(m_window.Page()->parentWidget(), point + m_window.Page()->pos(), Qt::LeftButton, modifiers);
}

void Monkey::dragOnPage()
{
    QWidget* canvas = m_window.Page()->parentWidget();
    const QPoint from = pagePoint() + m_window.Page()->pos();
    const QPoint to = from + QPoint(pick(401) - 200, pick(301) - 150);
    QWidget* target = canvas->childAt(from);
    if (!target)
        target = canvas;
    note(QStringLiteral("drag from %1,%2 to %3,%4 on %5")
             .arg(from.x())
             .arg(from.y())
             .arg(to.x())
             .arg(to.y())
             .arg(Describe(target)));
    const QPoint origin = target->mapFrom(canvas, from);
    const QPoint offset = to - from;
    QPointer<QWidget> alive = target;
    QTest::mousePress(target, Qt::LeftButton, {}, origin);
    // A hold before moving makes a move of the selection, a quick drag is a click.
    m_now += pick(400);
    const int steps = 1 + pick(4);
    for (int i = 1; i <= steps && alive; ++i)
        QTest::mouseMove(target, origin + offset * i / steps);
    if (alive)
        QTest::mouseRelease(target, Qt::LeftButton, {}, origin + offset);
}

void Monkey::pokeObject()
{
    calendar::TCalendarPanel32* page = m_window.Page();
    const QList<design::TQelGraphicControl*> objects = page->PlacedObjects();
    if (objects.isEmpty() || page->isHidden()) {
        clickPage();
        return;
    }
    design::TQelGraphicControl* object = objects.at(pick(int(objects.size())));
    const QRect bounds = object->geometry();
    const QPoint point =
        bounds.topLeft() + QPoint(pick(std::max(1, bounds.width())), pick(std::max(1, bounds.height())));
    const QPoint onCanvas = point + page->pos();
    const int roll = pick(10);
    if (roll < 5) {
        const Qt::KeyboardModifiers modifiers = chance(20) ? Qt::ShiftModifier : Qt::NoModifier;
        note(QStringLiteral("click on %1%2")
                 .arg(object->objectName(), modifiers ? QStringLiteral(" with Shift") : QString()));
        clickAt(page->parentWidget(), onCanvas, Qt::LeftButton, modifiers);
    } else if (roll < 7) {
        note(QStringLiteral("double click on %1").arg(object->objectName()));
        clickAt(page->parentWidget(), onCanvas, Qt::LeftButton, {}, true);
    } else if (roll < 9) {
        note(QStringLiteral("right click on %1").arg(object->objectName()));
        clickAt(page->parentWidget(), onCanvas, Qt::RightButton, {});
    } else {
        dragOnPage();
    }
}

QWidget* Monkey::keyTarget() const
{
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : &m_window;
}

void Monkey::typeText()
{
    calendar::TCalendarPanel32* page = m_window.Page();
    if (!page->isHidden() && page->UsesDayCells() && !m_window.CellEditor()->isVisible() && chance(70)) {
        const int cell = 1 + pick(calendar::kCellCount);
        note(QStringLiteral("click in cell %1").arg(cell));
        const platform::TRect free = page->Cell(cell).rFree;
        clickAt(page->parentWidget(), QPoint(free.left + 1, free.top + 1) + page->pos(), Qt::LeftButton, {});
        settle();
    }
    const QString text = kTexts.at(pick(int(kTexts.size())));
    QWidget* target = keyTarget();
    note(QStringLiteral("type \"%1\" into %2").arg(text, Describe(target)));
    TypeInto(target, text);
}

void Monkey::pressKey()
{
    const KeyPress& press = kKeys[pick(int(std::size(kKeys)))];
    QWidget* target = keyTarget();
    note(QStringLiteral("%1 on %2").arg(QLatin1String(press.name), Describe(target)));
    QTest::keyClick(target, press.key, press.modifiers);
}

void Monkey::createObject()
{
    const char* tool = kTools[pick(int(std::size(kTools)))];
    // Past a page's worth of objects every paint gets slower and the run would not end in time.
    if (m_window.Page()->PlacedObjects().size() >= kEnoughObjects) {
        note(QStringLiteral("tool %1 left alone: enough objects").arg(QLatin1String(tool)));
        return;
    }
    auto* bar = m_window.findChild<QToolBar*>(QStringLiteral("DesignToolBar"));
    QWidget* button = bar->widgetForAction(m_window.Action(tool));
    if (!button || !button->isVisible() || !button->isEnabled()) {
        note(QStringLiteral("tool %1 not available").arg(QLatin1String(tool)));
        return;
    }
    note(QStringLiteral("tool %1").arg(QLatin1String(tool)));
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
    if (m_window.Page()->isHidden())
        return;
    if (chance(30))
        clickPage();
    else
        dragOnPage();
}

void Monkey::clickToolBar()
{
    QList<QWidget*> buttons;
    for (QToolBar* bar : m_window.findChildren<QToolBar*>()) {
        if (!bar->isVisible())
            continue;
        for (QWidget* widget : bar->findChildren<QWidget*>()) {
            // The overflow arrow unfolds with an animation; what it shows would depend on timing.
            if ((qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget)) &&
                widget->isVisible() && widget->isEnabled() && widget->window() == &m_window &&
                widget->objectName() != QLatin1String("qt_toolbar_ext_button"))
                buttons.append(widget);
        }
    }
    if (buttons.isEmpty())
        return;
    QWidget* button = buttons.at(pick(int(buttons.size())));
    auto* action = qobject_cast<QAbstractButton*>(button);
    note(QStringLiteral("tool bar %1 \"%2\"")
             .arg(Describe(button), action ? Plain(action->text()) : QStringLiteral("list")));
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void Monkey::openMenu()
{
    QMenuBar* bar = m_window.menuBar();
    QList<QAction*> menus;
    for (QAction* action : bar->actions()) {
        if (action->isVisible() && action->menu())
            menus.append(action);
    }
    QAction* menu = menus.at(pick(int(menus.size())));
    note(QStringLiteral("open the menu %1").arg(Plain(menu->text())));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu).center());
}

void Monkey::newDocument()
{
    note(QStringLiteral("File > New"));
    QMenuBar* bar = m_window.menuBar();
    QAction* file = bar->actions().constFirst();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu)
        return;
    QAction* item = m_window.Action("New1");
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

void Monkey::cycleClipboard()
{
    QClipboard* clipboard = QApplication::clipboard();
    m_clipboardState = (m_clipboardState + 1) % 4;
    switch (m_clipboardState) {
    case 0:
        note(QStringLiteral("clipboard emptied"));
        clipboard->clear();
        break;
    case 1: {
        const QString text = kTexts.at(pick(int(kTexts.size())));
        note(QStringLiteral("clipboard holds \"%1\"").arg(text));
        clipboard->setText(text);
        break;
    }
    case 2: {
        QImage picture(1 + pick(300), 1 + pick(200), QImage::Format_ARGB32);
        picture.fill(QColor::fromRgba(m_random.generate()));
        note(QStringLiteral("clipboard holds a %1 x %2 picture").arg(picture.width()).arg(picture.height()));
        clipboard->setImage(picture);
        break;
    }
    default:
        note(QStringLiteral("clipboard holds empty data"));
        clipboard->setMimeData(new QMimeData);
        break;
    }
}

void Monkey::answerModal()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || m_answerPending)
        return;
    if (modal != m_answering) {
        m_answering = modal;
        m_attempts = 0;
        m_acceptAnswer = chance(50);
        m_fiddlesLeft = chance(60) ? 1 + pick(6) : 0;
        ++m_dialogsAnswered;
        note(QStringLiteral("dialog %1 \"%2\" to be answered %3")
                 .arg(Describe(modal), modal->windowTitle(),
                      m_acceptAnswer ? QStringLiteral("OK") : QStringLiteral("Cancel")));
    }
    QPointer<QWidget> dialog = modal;
    QPointer<QWidget> popup = QApplication::activePopupWidget();
    const bool fiddle = !popup && m_fiddlesLeft > 0;
    if (fiddle)
        --m_fiddlesLeft;
    const int attempt = popup || fiddle ? 0 : ++m_attempts;
    const bool accept = m_acceptAnswer;
    m_answerPending = true;
    // Answered from the event loop, not from inside this timer's slot: an answer may open another modal
    // dialog, and a timer never fires again while its own slot runs.
    QTimer::singleShot(0, this, [this, dialog, popup, fiddle, attempt, accept] {
        m_answerPending = false;
        if (!dialog || !dialog->isVisible() || QApplication::activeModalWidget() != dialog)
            return;
        if (popup) {
            QTest::keyClick(popup, Qt::Key_Escape);
        } else if (fiddle) {
            fiddleWith(dialog);
        } else if (attempt <= 3) {
            if (QAbstractButton* button = AnswerButton(dialog, accept))
                QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
            else
                QTest::keyClick(dialog, accept ? Qt::Key_Return : Qt::Key_Escape);
        } else if (auto* box = qobject_cast<QDialog*>(dialog.data())) {
            box->reject();
        } else {
            dialog->close();
        }
    });
}

void Monkey::fiddleWith(QWidget* dialog)
{
    QList<QWidget*> controls;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (!widget->isVisible() || !widget->isEnabled() || widget->window() != dialog)
            continue;
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
            qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
            qobject_cast<QTextEdit*>(widget) || qobject_cast<QTabBar*>(widget) ||
            qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QSlider*>(widget))
            controls.append(widget);
    }
    if (controls.isEmpty())
        return;
    QWidget* control = controls.at(pick(int(controls.size())));
    if (auto* tabs = qobject_cast<QTabBar*>(control)) {
        const int tab = pick(tabs->count());
        note(QStringLiteral("  tab %1 of %2").arg(tab).arg(Describe(dialog)));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    } else if (qobject_cast<QAbstractButton*>(control)) {
        note(QStringLiteral("  click %1 \"%2\"")
                 .arg(Describe(control), Plain(static_cast<QAbstractButton*>(control)->text())));
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    } else if (qobject_cast<QLineEdit*>(control) || qobject_cast<QTextEdit*>(control) ||
               (qobject_cast<QAbstractSpinBox*>(control) && chance(30))) {
        const QString text =
            chance(50) ? kTexts.at(pick(int(kTexts.size()))) : QString::number(pick(2000) - 500);
        note(QStringLiteral("  type \"%1\" into %2").arg(text, Describe(control)));
        control->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
        TypeInto(control, text);
        // Fields that apply their value when they lose the focus.
        QTest::keyClick(control, Qt::Key_Tab);
    } else if (qobject_cast<QAbstractItemView*>(control) && chance(50)) {
        const QPoint point(pick(std::max(1, control->width())), pick(std::max(1, control->height())));
        note(QStringLiteral("  click in %1 at %2,%3").arg(Describe(control)).arg(point.x()).arg(point.y()));
        QWidget* viewport = static_cast<QAbstractItemView*>(control)->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, viewport->mapFrom(control, point));
    } else {
        static const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home};
        const Qt::Key key = keys[pick(int(std::size(keys)))];
        const int times = 1 + pick(5);
        note(QStringLiteral("  key %1 x%2 on %3").arg(int(key), 0, 16).arg(times).arg(Describe(control)));
        control->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < times; ++i)
            QTest::keyClick(control, key);
    }
}

} // namespace apptesting
