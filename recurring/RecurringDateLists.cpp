#include "recurring/RecurringDateLists.h"

#include "platform/Prompts.h"
#include "recurring/HolidaySets.h"
#include "recurring/RecurringFormula.h"
#include "recurring/RecurringStore.h"
#include "recurring/TEditRecurringDateFormula.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace recurring {

namespace {

constexpr int kRowHeight = 16;
constexpr int kLineRole = Qt::UserRole + 1;

/** A 16 x 16 check mark; inverse is white on black for the focused row. */
QPixmap CheckMark(bool inverse)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(inverse ? Qt::black : Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(inverse ? Qt::white : Qt::black, 2));
    painter.drawPolyline(QPolygon({QPoint(3, 8), QPoint(6, 12), QPoint(13, 3)}));
    return pixmap;
}

/** Rows of the check lists: the focused row white on black, chosen rows marked, the text after the mark. */
class CheckRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool focused = option.state & QStyle::State_HasFocus;
        const bool chosen = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, focused ? Qt::black : option.palette.base().color());
        if (chosen)
            painter->drawPixmap(option.rect.topLeft(), CheckMark(focused));
        painter->setPen(focused ? Qt::white : Qt::black);
        // A tab starts a column, so texts after a short first part line up.
        const QString text = index.data().toString();
        const qsizetype tab = text.indexOf(u'\t');
        QRect rect = option.rect.adjusted(16 + 5, 0, 0, 0);
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text.left(tab));
        if (tab >= 0) {
            rect.setLeft(rect.left() + option.fontMetrics.horizontalAdvance(QStringLiteral("Wed 00")) + 12);
            painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text.mid(tab + 1));
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width() + 21, kRowHeight);
    }
};

QPushButton* Button(QWidget* parent, QBoxLayout* layout, const QString& caption, const char* name)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    layout->addWidget(button);
    return button;
}

void SortLines(QStringList& lines)
{
    std::stable_sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
}

} // namespace

// ---- the edit dialog

TEditRecurringDates::TEditRecurringDates(const QString& path, QWidget* parent) : QDialog(parent), m_path(path)
{
    setObjectName(QStringLiteral("EditRecurringDates"));
    setWindowTitle(tr("Recurring Dates"));
    auto* layout = new QHBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("DatesList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumSize(520, 300);
    layout->addWidget(m_list);
    auto* buttons = new QVBoxLayout;
    connect(Button(this, buttons, tr("New"), "Newbutton"), &QPushButton::clicked, this,
            [this] { NewDate(); });
    m_edit = Button(this, buttons, tr("Edit"), "Editbutton");
    connect(m_edit, &QPushButton::clicked, this, [this] { EditDate(); });
    m_delete = Button(this, buttons, tr("Delete"), "DeleteButton");
    connect(m_delete, &QPushButton::clicked, this, [this] { DeleteDate(); });
    connect(Button(this, buttons, tr("Holidays"), "Holidaysbutton"), &QPushButton::clicked, this,
            [this] { AddHolidays(); });
    buttons->addStretch();
    connect(Button(this, buttons, tr("Ok"), "okbutton"), &QPushButton::clicked, this, [this] {
        if (Save())
            accept();
    });
    connect(Button(this, buttons, tr("Cancel"), "CancelButton"), &QPushButton::clicked, this,
            &QDialog::reject);
    layout->addLayout(buttons);
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { updateButtons(); });

    m_lines = ReadStore(path);
    SortLines(m_lines);
    showLines(m_lines.value(0));
}

QString TEditRecurringDates::SelectedLine() const
{
    const QList<QListWidgetItem*> items = m_list->selectedItems();
    return items.isEmpty() ? QString() : items.first()->data(kLineRole).toString();
}

void TEditRecurringDates::showLines(const QString& select)
{
    m_list->clear();
    for (const QString& line : m_lines) {
        auto* item = new QListWidgetItem(RowText(line).trimmed(), m_list);
        item->setData(kLineRole, line);
        item->setSizeHint(QSize(0, kRowHeight));
        if (!select.isNull() && line == select)
            item->setSelected(true);
    }
    updateButtons();
}

void TEditRecurringDates::updateButtons()
{
    const bool selected = !m_list->selectedItems().isEmpty();
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected);
}

void TEditRecurringDates::NewDate()
{
    TEditRecurringDateFormula dialog(this);
    dialog.setWindowTitle(tr("Add Recurring Date"));
    dialog.SetDescription(tr("[Enter event]"));
    dialog.SetFormula(QStringLiteral("@"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString line = MakeLine(dialog.Description(), dialog.Formula());
    m_lines.append(line);
    SortLines(m_lines);
    showLines(line);
}

void TEditRecurringDates::EditDate()
{
    const QString line = SelectedLine();
    if (line.isNull()) {
        QApplication::beep();
        return;
    }
    const QChar kind = LineKind(line);
    // Of the built-in words only the Easter offsets have controls in the formula dialog.
    const bool easterOffset = ParseEasterOffset(LineFormula(line)) && !IsOriginalBuiltIn(LineFormula(line));
    if (kind == u'#' && !easterOffset) {
        platform::Prompts::Current().Information(this, tr("This entry cannot be edited"));
        return;
    }
    if (kind != u'$' && kind != u'%' && kind != u'@' && kind != u'>' && !easterOffset)
        return;
    TEditRecurringDateFormula dialog(this);
    dialog.setWindowTitle(tr("Edit Recurring Date Formula"));
    dialog.SetDescription(line.left(kDescriptionWidth).trimmed());
    dialog.SetFormula(LineFormula(line));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_lines.removeOne(line);
    const QString rebuilt = MakeLine(dialog.Description(), dialog.Formula());
    m_lines.append(rebuilt);
    SortLines(m_lines);
    showLines(rebuilt);
}

void TEditRecurringDates::DeleteDate()
{
    const QString line = SelectedLine();
    if (line.isNull())
        return;
    m_lines.removeOne(line);
    showLines(m_lines.value(0));
}

void TEditRecurringDates::AddHolidays()
{
    TGetHolidays dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        const QString selected = SelectedLine();
        AddMissingLines(m_lines, dialog.Chosen());
        SortLines(m_lines);
        showLines(selected);
    }
    if (!m_lines.isEmpty() && m_list->selectedItems().isEmpty())
        showLines(m_lines.first());
}

bool TEditRecurringDates::Save()
{
    if (WriteStore(m_path, m_lines))
        return true;
    platform::Prompts::Current().Information(this, tr("Unable to save %1").arg(m_path));
    return false;
}

// ---- the check lists

QList<CheckRow> LineRows(const QStringList& lines, bool sorted)
{
    QStringList shown = lines;
    if (sorted)
        SortLines(shown);
    QList<CheckRow> rows;
    for (const QString& line : shown)
        rows.append({RowText(line).trimmed(), line});
    return rows;
}

CheckListDialog::CheckListDialog(const QString& caption, const QString& listName, const QStringList& lines,
                                 bool sorted, QWidget* parent)
    : CheckListDialog(caption, listName, LineRows(lines, sorted), parent)
{}

CheckListDialog::CheckListDialog(const QString& caption, const QString& listName, const QList<CheckRow>& rows,
                                 QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(listName);
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    m_list->setItemDelegate(new CheckRowDelegate(m_list));
    m_list->setMinimumSize(480, 320);
    ShowRows(rows);
    layout->addWidget(m_list);
    m_buttons = new QHBoxLayout;
    QPushButton* ok = Button(this, m_buttons, tr("&Ok"), "okbutton");
    connect(ok, &QPushButton::clicked, this, [this] {
        if (m_list->selectedItems().isEmpty())
            QApplication::beep();
        else
            accept();
    });
    connect(Button(this, m_buttons, tr("&All"), "AllButton"), &QPushButton::clicked, this,
            [this] { SelectAll(true); });
    connect(Button(this, m_buttons, tr("&None"), "NoneButton"), &QPushButton::clicked, this,
            [this] { SelectAll(false); });
    connect(Button(this, m_buttons, tr("&Cancel"), "CancelButton"), &QPushButton::clicked, this,
            &QDialog::reject);
    layout->addLayout(m_buttons);
}

void CheckListDialog::ShowRows(const QList<CheckRow>& rows, const QStringList& chosen)
{
    m_list->clear();
    for (const CheckRow& row : rows) {
        auto* item = new QListWidgetItem(row.text, m_list);
        item->setData(kLineRole, row.value);
        item->setSizeHint(QSize(0, kRowHeight));
        item->setSelected(chosen.contains(row.value));
    }
}

QStringList CheckListDialog::Chosen() const
{
    QStringList chosen;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->isSelected())
            chosen.append(m_list->item(i)->data(kLineRole).toString());
    }
    return chosen;
}

QStringList CheckListDialog::Values() const
{
    QStringList values;
    for (int i = 0; i < m_list->count(); ++i)
        values.append(m_list->item(i)->data(kLineRole).toString());
    return values;
}

void CheckListDialog::SelectAll(bool on)
{
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setSelected(on);
}

TGetHolidays::TGetHolidays(QWidget* parent)
    : CheckListDialog(tr("Holidays"), QStringLiteral("Holidays"), HolidayLines(), true, parent)
{
    setObjectName(QStringLiteral("GetHolidays"));
    auto* country = new QPushButton(tr("Add Holidays &of..."), this);
    country->setObjectName(QStringLiteral("CountryButton"));
    Buttons()->insertWidget(3, country);
    connect(country, &QPushButton::clicked, this, [this] { ChooseCountry(); });
}

void TGetHolidays::AddCountry(const QString& code)
{
    const QStringList added = HolidaySetLines(code);
    QStringList lines = Values();
    QStringList chosen = Chosen();
    for (const QString& line : added) {
        // A holiday the list holds already (the same line, letter case aside) is chosen, not added twice.
        const auto same = std::find_if(lines.begin(), lines.end(), [&line](const QString& other) {
            return other.compare(line, Qt::CaseInsensitive) == 0;
        });
        const QString present = same == lines.end() ? QString() : *same;
        if (present.isNull())
            lines.append(line);
        chosen.append(present.isNull() ? line : present);
    }
    const QList<CheckRow> rows = LineRows(lines, true);
    ShowRows(rows, chosen);
    for (int i = 0; i < List()->count(); ++i) {
        if (List()->item(i)->isSelected() && added.contains(rows[i].value, Qt::CaseInsensitive)) {
            List()->scrollToItem(List()->item(i));
            break;
        }
    }
}

void TGetHolidays::ChooseCountry()
{
    TChooseHolidayCountry dialog(this);
    if (dialog.exec() == QDialog::Accepted && !dialog.Code().isEmpty())
        AddCountry(dialog.Code());
}

TChooseHolidayCountry::TChooseHolidayCountry(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ChooseHolidayCountry"));
    setWindowTitle(tr("Add Holidays of"));
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Countries"));
    m_list->setMinimumSize(260, 360);
    for (const HolidayCountry& country : HolidayCountries()) {
        auto* item = new QListWidgetItem(QStringLiteral("%1 (%2)").arg(country.name, country.code), m_list);
        item->setData(kLineRole, country.code);
    }
    m_list->setCurrentRow(0);
    layout->addWidget(m_list);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = Button(this, buttons, tr("&Ok"), "okbutton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button(this, buttons, tr("&Cancel"), "CancelButton"), &QPushButton::clicked, this,
            &QDialog::reject);
    layout->addLayout(buttons);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

QString TChooseHolidayCountry::Code() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->data(kLineRole).toString() : QString();
}

TSelectRecurringDates::TSelectRecurringDates(const QStringList& lines, QWidget* parent)
    : CheckListDialog(tr("Select Recurring Dates To Use"), QStringLiteral("Dates"), lines, false, parent)
{
    setObjectName(QStringLiteral("SelectRecurringDates"));
}

void TSelectRecurringDates::showEvent(QShowEvent* event)
{
    CheckListDialog::showEvent(event);
    SelectAll(true);
}

} // namespace recurring
