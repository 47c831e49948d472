#include "cli/PageOptions.h"

#include "calendar/DateRules.h"
#include "calendar/TCalendarPanel32.h"
#include "platform/Clock.h"

namespace cli {

namespace {

std::optional<int> ReadInt(const QCommandLineParser& parser, const QString& name, int low, int high,
                           QString& error)
{
    if (!parser.isSet(name))
        return std::nullopt;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < low || value > high) {
        error = QStringLiteral("--%1 must be a whole number from %2 to %3, not \"%4\"")
                    .arg(name)
                    .arg(low)
                    .arg(high)
                    .arg(parser.value(name));
        return std::nullopt;
    }
    return value;
}

std::optional<int> ReadChoice(const QCommandLineParser& parser, const QString& name,
                              const QStringList& choices, QString& error)
{
    if (!parser.isSet(name))
        return std::nullopt;
    const int index = static_cast<int>(choices.indexOf(parser.value(name).toLower()));
    if (index < 0) {
        error = QStringLiteral("--%1 must be one of %2, not \"%3\"")
                    .arg(name, choices.join(QStringLiteral(", ")), parser.value(name));
        return std::nullopt;
    }
    return index;
}

} // namespace

void AddPageOptions(QCommandLineParser& parser)
{
    parser.addOptions({
        {QStringLiteral("layout"), QStringLiteral("Page layout, 0 to 21."), QStringLiteral("N")},
        {QStringLiteral("paper"), QStringLiteral("Paper: letter or a4."), QStringLiteral("PAPER")},
        {QStringLiteral("margins"), QStringLiteral("Margins in inches."), QStringLiteral("L,T,R,B")},
        {QStringLiteral("month"), QStringLiteral("Month shown, 1 to 12."), QStringLiteral("M")},
        {QStringLiteral("year"), QStringLiteral("Year shown, 1 to 9999."), QStringLiteral("Y")},
        {QStringLiteral("day"), QStringLiteral("First day of a planner."), QStringLiteral("D")},
        {QStringLiteral("week-start"), QStringLiteral("sunday or monday."), QStringLiteral("DAY")},
        {QStringLiteral("zoom"), QStringLiteral("Zoom factor, 0.1 to 4 (1 = full size)."),
         QStringLiteral("Z")},
        {QStringLiteral("number-position"), QStringLiteral("center or upper-right."), QStringLiteral("POS")},
        {QStringLiteral("headers-style"), QStringLiteral("first, three or whole."), QStringLiteral("STYLE")},
        {QStringLiteral("title"), QStringLiteral("User-defined title."), QStringLiteral("TEXT")},
        {QStringLiteral("today"), QStringLiteral("Date taken as today."), QStringLiteral("YYYY-MM-DD")},
    });
}

std::optional<PageOptions> ReadPageOptions(const QCommandLineParser& parser, QString& error)
{
    PageOptions o;
    error.clear();
    o.layout = ReadInt(parser, QStringLiteral("layout"), 0, calendar::kLayoutCount - 1, error);
    if (error.isEmpty())
        o.paperSize = ReadChoice(parser, QStringLiteral("paper"),
                                 {QStringLiteral("letter"), QStringLiteral("a4")}, error);
    if (error.isEmpty())
        o.month = ReadInt(parser, QStringLiteral("month"), 1, 12, error);
    if (error.isEmpty())
        o.year = ReadInt(parser, QStringLiteral("year"), calendar::kMinYear, calendar::kMaxYear, error);
    if (error.isEmpty())
        o.day = ReadInt(parser, QStringLiteral("day"), 1, 31, error);
    if (error.isEmpty()) {
        const auto start = ReadChoice(parser, QStringLiteral("week-start"),
                                      {QStringLiteral("sunday"), QStringLiteral("monday")}, error);
        if (start)
            o.startOfWeek = *start + 1;
    }
    if (error.isEmpty())
        o.numberPosition = ReadChoice(parser, QStringLiteral("number-position"),
                                      {QStringLiteral("center"), QStringLiteral("upper-right")}, error);
    if (error.isEmpty())
        o.headersStyle =
            ReadChoice(parser, QStringLiteral("headers-style"),
                       {QStringLiteral("first"), QStringLiteral("three"), QStringLiteral("whole")}, error);
    if (!error.isEmpty())
        return std::nullopt;

    if (parser.isSet(QStringLiteral("margins"))) {
        const QStringList parts = parser.value(QStringLiteral("margins")).split(u',');
        std::array<float, 4> margins{};
        bool good = parts.size() == 4;
        for (int i = 0; good && i < 4; ++i) {
            bool ok = false;
            margins[static_cast<size_t>(i)] = parts[i].trimmed().toFloat(&ok);
            good = ok && margins[static_cast<size_t>(i)] >= 0 && margins[static_cast<size_t>(i)] <= 4;
        }
        if (!good) {
            error =
                QStringLiteral("--margins must be four numbers of inches from 0 to 4, as L,T,R,B, not \"%1\"")
                    .arg(parser.value(QStringLiteral("margins")));
            return std::nullopt;
        }
        o.margins = margins;
    }
    if (parser.isSet(QStringLiteral("zoom"))) {
        bool ok = false;
        o.zoom = parser.value(QStringLiteral("zoom")).toFloat(&ok);
        if (!ok || o.zoom < 0.1f || o.zoom > 4.0f) {
            error = QStringLiteral("--zoom must be a number from 0.1 to 4, not \"%1\"")
                        .arg(parser.value(QStringLiteral("zoom")));
            return std::nullopt;
        }
    }
    if (parser.isSet(QStringLiteral("title")))
        o.title = parser.value(QStringLiteral("title"));
    if (parser.isSet(QStringLiteral("today"))) {
        o.today = QDate::fromString(parser.value(QStringLiteral("today")), Qt::ISODate);
        if (!o.today.isValid()) {
            error = QStringLiteral("--today must be a date as YYYY-MM-DD, not \"%1\"")
                        .arg(parser.value(QStringLiteral("today")));
            return std::nullopt;
        }
    }
    if (o.day) {
        const QDate today = o.today.isValid() ? o.today : platform::Today();
        const int month = o.month.value_or(today.month());
        const int year = o.year.value_or(today.year());
        if (*o.day > calendar::DaysInMonth(year, month)) {
            error = QStringLiteral("--day %1 is not a day of %2-%3").arg(*o.day).arg(year).arg(month);
            return std::nullopt;
        }
    }
    return o;
}

namespace {

void ApplyStyleOptions(calendar::TCalendarPanel32& page, const PageOptions& o)
{
    if (o.paperSize)
        page.SetPaperSize(*o.paperSize);
    if (o.layout)
        page.SetCalendarLayout(static_cast<calendar::TCalendarLayout>(*o.layout));
    if (o.margins) {
        page.SetLeftMarginInch((*o.margins)[0]);
        page.SetTopMarginInch((*o.margins)[1]);
        page.SetRightMarginInch((*o.margins)[2]);
        page.SetBottomMarginInch((*o.margins)[3]);
    }
    // Day 1 first, so a month change never leaves a day the new month lacks.
    if (o.day)
        page.SetMainCalDay(1);
    if (o.year)
        page.SetMainCalYear(*o.year);
    if (o.month)
        page.SetMainCalMonth(*o.month);
    if (o.day)
        page.SetMainCalDay(*o.day);
    else if (page.MainCalDay() > calendar::DaysInMonth(page.MainCalYear(), page.MainCalMonth()))
        page.SetMainCalDay(calendar::DaysInMonth(page.MainCalYear(), page.MainCalMonth()));
    if (o.startOfWeek)
        page.SetStartOfWeek(*o.startOfWeek);
    if (o.numberPosition)
        page.SetNumberPosition(static_cast<calendar::TCalendarNumberPosition>(*o.numberPosition));
    if (o.headersStyle)
        page.SetHeadersStyle(static_cast<calendar::TCalHeadersStyle>(*o.headersStyle));
    if (o.title)
        page.SetUserTitle(*o.title);
}

} // namespace

void ApplyPageOptions(calendar::TCalendarPanel32& page, const PageOptions& o)
{
    if (o.today.isValid())
        platform::SetTodayOverride(o.today);
    page.ResetToNew();
    ApplyStyleOptions(page, o);
    page.Relayout(true);
    page.SetZoom(o.zoom);
}

void ApplyOptionsToDocument(calendar::TCalendarPanel32& page, const PageOptions& o)
{
    ApplyStyleOptions(page, o);
    page.Relayout(o.layout.has_value());
    page.SetZoom(o.zoom);
}

} // namespace cli
