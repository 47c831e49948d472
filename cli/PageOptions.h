#pragma once

#include <QCommandLineParser>
#include <QDate>
#include <QString>

#include <optional>

namespace calendar {
class TCalendarPanel32;
}

namespace cli {

/** The page set-up a command line asks for; unset options keep the new-document defaults. */
struct PageOptions
{
    std::optional<int> layout;
    std::optional<int> paperSize;
    std::optional<std::array<float, 4>> margins;
    std::optional<int> month;
    std::optional<int> year;
    std::optional<int> day;
    std::optional<int> startOfWeek;
    std::optional<int> numberPosition;
    std::optional<int> headersStyle;
    std::optional<QString> title;
    float zoom = 1.0f;
    QDate today;
};

/** Adds the page options to a parser. */
void AddPageOptions(QCommandLineParser& parser);

/** Reads the page options; on a bad value returns nothing and sets error to a message naming it. */
std::optional<PageOptions> ReadPageOptions(const QCommandLineParser& parser, QString& error);

/**
 * Sets the page up as a new document, then applies the options as the properties dialog would (so the mini
 * calendar fonts suit the chosen layout), then the zoom.
 */
void ApplyPageOptions(calendar::TCalendarPanel32& page, const PageOptions& options);

/**
 * Applies the options that were given to a page read from a file: its own fonts stay unless the layout
 * changes, as a layout chosen in the properties dialog resets the mini calendar fonts. Then the zoom.
 */
void ApplyOptionsToDocument(calendar::TCalendarPanel32& page, const PageOptions& options);

} // namespace cli
