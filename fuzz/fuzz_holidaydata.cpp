// Feeds arbitrary bytes to the reader of the holiday data, then computes a few years of every area it finds,
// as the holidays command and the fill do.
#include "holidays/HolidayCalculator.h"
#include "holidays/HolidayDatabase.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    holidays::HolidayDatabase database;
    if (!database.load(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))))
        return 0;
    const holidays::HolidayTypes all = holidays::HolidayType::Public | holidays::HolidayType::Bank |
                                       holidays::HolidayType::School | holidays::HolidayType::Optional |
                                       holidays::HolidayType::Observance;
    int areas = 0;
    for (const holidays::HolidayArea& country : database.countries()) {
        QList<holidays::HolidayArea> list{country};
        list += database.subdivisions(country.code);
        for (const holidays::HolidayArea& area : list) {
            if (++areas > 6)
                return 0;
            if (const std::optional<holidays::AreaRules> rules = database.rules(area.code)) {
                const holidays::HolidayCalculator calculator(*rules);
                for (const int year : {1900, 2100})
                    calculator.holidays(year, QStringLiteral("de"), all);
            }
        }
    }
    return 0;
}
