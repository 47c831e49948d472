#pragma once

#include <QByteArrayView>

#include <cstdint>

namespace richtext {

// The control words the RTF reader acts on, named by their letters (case matters in RTF).
// clang-format off
#define DATORIA_RTF_CONTROL_WORDS(X) \
    X(ansi) X(ansicpg) X(b) X(bin) X(blue) X(bullet) X(cb) X(cell) X(cf) X(chcbpat) X(colortbl) X(cpg) \
    X(deff) X(dibitmap) X(dn) X(emdash) X(emfblip) X(emspace) X(endash) X(enspace) X(f) X(fcharset) \
    X(fdecor) X(fi) X(fldinst) X(fldrslt) X(fmodern) X(fonttbl) X(froman) X(fs) X(fscript) X(fswiss) \
    X(green) X(highlight) X(i) X(jpegblip) X(ldblquote) X(li) X(line) X(lquote) X(ltrmark) X(mac) \
    X(macpict) X(nestcell) X(nestrow) X(nosupersub) X(object) X(page) X(par) X(pard) X(pc) X(pca) X(pich) \
    X(pichgoal) X(picscalex) X(picscaley) X(pict) X(picw) X(picwgoal) X(plain) X(pngblip) X(qc) X(qj) \
    X(ql) X(qmspace) X(qr) X(rdblquote) X(red) X(result) X(ri) X(row) X(rquote) X(rtlmark) X(sa) X(sb) \
    X(sect) X(shppict) X(sl) X(slmult) X(strike) X(striked) X(sub) X(super) X(tab) X(u) X(uc) X(ud) X(ul) \
    X(uld) X(uldash) X(uldashd) X(uldashdd) X(uldb) X(ulhwave) X(ulnone) X(ulth) X(ulthd) X(ululdbwave) \
    X(ulw) X(ulwave) X(up) X(upr) X(v) X(wmetafile) X(zwj) X(zwnj)
// clang-format on

/**
 * A control word the reader acts on, found once per word by the tokenizer so the reader compares numbers, not
 * letters. Other is every word the reader passes over; SkippedDestination every group the reader skips whole
 * (style sheet, document information, headers and footers, footnotes, list and revision tables, ...).
 */
enum class ControlWord : std::uint8_t
{
    Other,
    SkippedDestination,
#define DATORIA_RTF_ENUM(name) name,
    DATORIA_RTF_CONTROL_WORDS(DATORIA_RTF_ENUM)
#undef DATORIA_RTF_ENUM
};

/** The control word of a word's letters. */
ControlWord LookUpControlWord(QByteArrayView letters);

} // namespace richtext
