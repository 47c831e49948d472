#pragma once

namespace platform {
class TFont;
}
namespace calendar {
class TCalendarPanel32;
}

namespace persist {

class TReader;
class TWriter;

/** Name, size in points, bold, italic, underline, strike-out, colour (always as a number). */
void WriteFontRecord(TWriter& writer, const platform::TFont& font);
void ReadFontRecord(TReader& reader, platform::TFont& font);

/**
 * The 49 values of a page's look, shared by calendar files and style sheets. Reading stores each value
 * straight into the page, without the setters' side effects and without laying the page out; a value outside
 * its range fails with "Invalid property value", leaving the values read before it.
 */
void WriteStyleBlock(TWriter& writer, const calendar::TCalendarPanel32& page);
void ReadStyleBlock(TReader& reader, calendar::TCalendarPanel32& page);

} // namespace persist
