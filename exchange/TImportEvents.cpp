#include "exchange/TImportEvents.h"

#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QVBoxLayout>

namespace exchange {

namespace {

QList<recurring::CheckRow> Rows(const QList<MonthEntry>& entries)
{
    QList<recurring::CheckRow> rows;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString day = QLocale().toString(entries[i].date, QStringLiteral("ddd d"));
        rows.append({day + u'\t' + entries[i].text, QString::number(i)});
    }
    return rows;
}

QStringList AllValues(const QList<recurring::CheckRow>& rows)
{
    QStringList values;
    for (const recurring::CheckRow& row : rows)
        values.append(row.value);
    return values;
}

} // namespace

TImportEvents::TImportEvents(const QString& fileName, const QString& period, const QList<MonthEntry>& entries,
                             const QStringList& warnings, QWidget* parent)
    : CheckListDialog(tr("Select Events To Import"), QStringLiteral("Events"), QList<recurring::CheckRow>(),
                      parent),
      m_entries(entries)
{
    setObjectName(QStringLiteral("ImportEvents"));
    const QList<recurring::CheckRow> rows = Rows(entries);
    ShowRows(rows, AllValues(rows));
    auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
    auto* heading = new QLabel(tr("Events of %1 in %2:").arg(period, fileName), this);
    heading->setObjectName(QStringLiteral("Heading"));
    layout->insertWidget(0, heading);
    if (!warnings.isEmpty()) {
        auto* notes = new QLabel(warnings.join(u'\n'), this);
        notes->setObjectName(QStringLiteral("Warnings"));
        notes->setWordWrap(true);
        layout->insertWidget(2, notes);
    }
}

QList<MonthEntry> TImportEvents::ChosenEntries() const
{
    QList<MonthEntry> chosen;
    for (const QString& value : Chosen())
        chosen.append(m_entries.value(value.toInt()));
    return chosen;
}

} // namespace exchange
