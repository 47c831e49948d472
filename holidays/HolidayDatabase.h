#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace holidays {

/** A country, state or region of the database: its code ("DE", "DE-BY", "DE-BY-A") and name. */
struct HolidayArea
{
    QString code;
    QString name;
};

/** A period in which a rule holds: from `from` (inclusive) to `to` (exclusive); a null end is open. */
struct ActivePeriod
{
    QDate from;
    QDate to;
};

/** One holiday rule of an area, with the settings of its country, state and region merged. */
struct AreaRule
{
    QString rule;
    QString type;                  ///< public, bank, school, optional or observance
    QHash<QString, QString> names; ///< language code -> name
    bool substitute = false;       ///< moved days carry the "substitute day" suffix
    QList<ActivePeriod> active;
    QStringList disable; ///< "YYYY", "YYYY-MM" or "YYYY-MM-DD": years, months or days it does not hold
    QStringList enable;  ///< "YYYY-MM-DD": the day it holds instead of a disabled one
};

/** Everything needed to compute an area's holidays. */
struct AreaRules
{
    QString code;
    QStringList languages;                   ///< the area's languages, the first preferred
    QList<AreaRule> rules;                   ///< in the order of the data
    QHash<QString, QString> substituteNames; ///< language code -> "substitute day"
};

/**
 * The holiday database Datoria ships (data/holidays/holidays.json, converted from the date-holidays project
 * by tools/convert-holidays.mjs). The file is read as untrusted input: a wrong shape ends in an error
 * message, and parts of unexpected type are skipped.
 */
class HolidayDatabase
{
public:
    /** Reads the converted file; false with errorString() when it is not one. */
    bool load(const QByteArray& data);
    bool loadFile(const QString& path);
    QString errorString() const { return m_error; }

    /** The shipped file: data/holidays/holidays.json beside the executable or in the installed share folder.
     */
    static QString defaultPath();
    /** The shipped database, read once per process; null when it cannot be read. */
    static const HolidayDatabase* shared();

    /** The data's origin, e.g. "date-holidays 3.37.0". */
    QString source() const;

    /** Countries by code, named in `language` where the data has it (else English, else the first name). */
    QList<HolidayArea> countries(const QString& language = QStringLiteral("en")) const;
    /** The states or provinces of a country, or the regions of a state ("DE-BY"); codes are full codes. */
    QList<HolidayArea> subdivisions(const QString& code,
                                    const QString& language = QStringLiteral("en")) const;
    /** The name of a country, state or region; empty when the code is unknown. */
    QString areaName(const QString& code, const QString& language = QStringLiteral("en")) const;

    /** The merged rules of "CC", "CC-SS" or "CC-SS-RR" (any letter case); empty for an unknown code. */
    std::optional<AreaRules> rules(const QString& code) const;

private:
    QList<QJsonObject> path(const QString& code) const;

    QJsonObject m_root;
    QJsonObject m_countries;
    QJsonObject m_names;
    QString m_error;
};

} // namespace holidays
