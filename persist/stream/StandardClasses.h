#pragma once

#include "persist/stream/ClassInfo.h"

namespace platform {
class TFont;
}
namespace richtext {
class TVelRtfStorage;
}

namespace persist {

/** Fonts as nested objects: Charset, Color, Height, Name, Pitch, Style; Size is read but never written. */
const ClassInfo& FontClass();
ObjRef FontRef(platform::TFont* font);

/**
 * A rich-text storage: class "TVelRtfStorage", whose document is the raw-data property "RtfText.Data" (the
 * RTF bytes), written only when the storage is not empty.
 */
const ClassInfo& RtfStorageClass();
ObjRef RtfStorageRef(richtext::TVelRtfStorage* storage);
/**
 * A storage's document as a nested object of another component: its raw-data property "Data" holds the RTF
 * bytes and is written only when the storage is not empty ("RTFText.Data" of a rich-text label).
 */
ObjRef RtfTextRef(richtext::TVelRtfStorage* storage);

/** The member names of the font style set and of the pitch enumeration. */
const EnumNames& FontStyleNames();
const EnumNames& FontPitchNames();

} // namespace persist
