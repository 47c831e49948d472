#include "holidays/HolidayDatabase.h"

#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>

namespace holidays {
namespace {

const QString kFormat = QStringLiteral("datoria-holidays 1");

QJsonObject Child(const QJsonObject& area, const QString& code)
{
    for (const QString& key : {QStringLiteral("states"), QStringLiteral("regions")}) {
        const QJsonObject children = area.value(key).toObject();
        for (auto it = children.begin(); it != children.end(); ++it) {
            if (it.key().compare(code, Qt::CaseInsensitive) == 0 && it.value().isObject()) {
                return it.value().toObject();
            }
        }
    }
    return {};
}

QHash<QString, QString> Names(const QJsonValue& value)
{
    QHash<QString, QString> names;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.value().isString()) {
            names.insert(it.key(), it.value().toString());
        }
    }
    return names;
}

QString AreaNameIn(const QJsonObject& area, const QString& language)
{
    if (area.value(QStringLiteral("name")).isString()) {
        return area.value(QStringLiteral("name")).toString();
    }
    const QJsonObject names = area.value(QStringLiteral("names")).toObject();
    for (const QString& lang : {language, language.section(QLatin1Char('-'), 0, 0), QStringLiteral("en")}) {
        if (names.value(lang).isString()) {
            return names.value(lang).toString();
        }
    }
    return names.isEmpty() ? QString() : names.begin().value().toString();
}

QStringList Strings(const QJsonValue& value)
{
    QStringList list;
    for (const QJsonValue& item : value.toArray()) {
        if (item.isString()) {
            list.append(item.toString());
        } else if (item.isDouble()) {
            list.append(QString::number(item.toInt()));
        }
    }
    return list;
}

QDate PeriodDate(const QJsonValue& value)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})(?:-(\\d{2})(?:-(\\d{2}))?)?"));
    const QString text = value.isDouble() ? QString::number(value.toInt()) : value.toString();
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) {
        return {};
    }
    const int month = m.hasCaptured(2) ? m.captured(2).toInt() : 1;
    const int day = m.hasCaptured(3) ? m.captured(3).toInt() : 1;
    return QDate(m.captured(1).toInt(), 1, 1).addMonths(month - 1).addDays(day - 1);
}

} // namespace

bool HolidayDatabase::load(const QByteArray& data)
{
    m_root = {};
    m_countries = {};
    m_names = {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError) {
        m_error = QStringLiteral("The holiday data is damaged: %1 at byte %2.")
                      .arg(error.errorString())
                      .arg(error.offset);
        return false;
    }
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != kFormat ||
        !root.value(QStringLiteral("holidays")).isObject()) {
        m_error = QStringLiteral("This is not a holiday data file of Datoria.");
        return false;
    }
    m_root = root;
    m_countries = root.value(QStringLiteral("holidays")).toObject();
    m_names = root.value(QStringLiteral("names")).toObject();
    m_error.clear();
    return true;
}

bool HolidayDatabase::loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Unable to read the holiday data %1: %2").arg(path, file.errorString());
        return false;
    }
    return load(file.readAll());
}

QString HolidayDatabase::defaultPath()
{
    return QDir(platform::DataFolder()).filePath(QStringLiteral("holidays/holidays.json"));
}

const HolidayDatabase* HolidayDatabase::shared()
{
    static const HolidayDatabase* database = [] {
        static HolidayDatabase loaded;
        return loaded.loadFile(defaultPath()) ? &loaded : nullptr;
    }();
    return database;
}

QString HolidayDatabase::source() const
{
    return m_root.value(QStringLiteral("source")).toString();
}

QList<HolidayArea> HolidayDatabase::countries(const QString& language) const
{
    QList<HolidayArea> list;
    for (auto it = m_countries.begin(); it != m_countries.end(); ++it) {
        if (it.value().isObject()) {
            list.append({it.key(), AreaNameIn(it.value().toObject(), language)});
        }
    }
    return list;
}

QList<HolidayArea> HolidayDatabase::subdivisions(const QString& code, const QString& language) const
{
    const QList<QJsonObject> areas = path(code);
    QList<HolidayArea> list;
    if (areas.isEmpty() || areas.size() > 2) {
        return list;
    }
    const QString prefix = code + QLatin1Char('-');
    for (const QString& key : {QStringLiteral("states"), QStringLiteral("regions")}) {
        const QJsonObject children = areas.last().value(key).toObject();
        for (auto it = children.begin(); it != children.end(); ++it) {
            if (it.value().isObject()) {
                list.append({prefix + it.key(), AreaNameIn(it.value().toObject(), language)});
            }
        }
    }
    return list;
}

QString HolidayDatabase::areaName(const QString& code, const QString& language) const
{
    const QList<QJsonObject> areas = path(code);
    return areas.isEmpty() ? QString() : AreaNameIn(areas.last(), language);
}

QList<QJsonObject> HolidayDatabase::path(const QString& code) const
{
    QStringList parts = code.split(QRegularExpression(QStringLiteral("[-.]")));
    parts.first() = parts.first().toUpper();
    QList<QJsonObject> areas;
    if (parts.isEmpty() || parts.size() > 3 || !m_countries.value(parts.first()).isObject()) {
        return areas;
    }
    areas.append(m_countries.value(parts.first()).toObject());
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QJsonObject child = Child(areas.last(), parts.at(i));
        if (child.isEmpty()) {
            return {};
        }
        areas.append(child);
    }
    return areas;
}

std::optional<AreaRules> HolidayDatabase::rules(const QString& code) const
{
    const QList<QJsonObject> areas = path(code);
    if (areas.isEmpty()) {
        return std::nullopt;
    }
    AreaRules result;
    result.code = code;
    // Each level's days override the level above rule by rule (a level's value replaces the settings it
    // names, false removes the rule); a rule a level names without a type is public there.
    QStringList order;
    QHash<QString, QJsonObject> merged;
    for (const QJsonObject& area : areas) {
        if (area.value(QStringLiteral("langs")).isArray()) {
            result.languages = Strings(area.value(QStringLiteral("langs")));
        }
        const QJsonObject days = area.value(QStringLiteral("days")).toObject();
        for (auto it = days.begin(); it != days.end(); ++it) {
            if (!it.value().isObject()) {
                if (merged.remove(it.key()) > 0) {
                    order.removeOne(it.key());
                }
                continue;
            }
            if (!merged.contains(it.key())) {
                order.append(it.key());
            }
            QJsonObject& rule = merged[it.key()];
            const QJsonObject settings = it.value().toObject();
            for (auto s = settings.begin(); s != settings.end(); ++s) {
                rule.insert(s.key(), s.value());
            }
            if (!settings.contains(QStringLiteral("type"))) {
                rule.insert(QStringLiteral("type"), QStringLiteral("public"));
            }
        }
    }
    for (const QString& key : std::as_const(order)) {
        const QJsonObject settings = merged.value(key);
        AreaRule rule;
        rule.rule = key;
        rule.type = settings.value(QStringLiteral("type")).toString(QStringLiteral("public"));
        // A name reference gives the names the rule's own names do not override.
        const QString reference = settings.value(QStringLiteral("_name")).toString();
        if (!reference.isEmpty()) {
            rule.names = Names(m_names.value(reference).toObject().value(QStringLiteral("name")));
        }
        const QJsonValue name = settings.value(QStringLiteral("name"));
        if (name.isString()) {
            // A plain name is the name in every language.
            rule.names = {{QString(), name.toString()}};
        }
        const QHash<QString, QString> own = Names(name);
        for (auto it = own.begin(); it != own.end(); ++it) {
            rule.names.insert(it.key(), it.value());
        }
        rule.substitute = settings.value(QStringLiteral("substitute")).toBool();
        for (const QJsonValue& period : settings.value(QStringLiteral("active")).toArray()) {
            const QJsonObject object = period.toObject();
            const ActivePeriod active{PeriodDate(object.value(QStringLiteral("from"))),
                                      PeriodDate(object.value(QStringLiteral("to")))};
            if (active.from.isValid() || active.to.isValid()) {
                rule.active.append(active);
            }
        }
        rule.disable = Strings(settings.value(QStringLiteral("disable")));
        rule.enable = Strings(settings.value(QStringLiteral("enable")));
        result.rules.append(rule);
    }
    result.substituteNames =
        Names(m_names.value(QStringLiteral("substitutes")).toObject().value(QStringLiteral("name")));
    return result;
}

} // namespace holidays
