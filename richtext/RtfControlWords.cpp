#include "richtext/RtfControlWords.h"

#include <array>
#include <cstring>

namespace richtext {

namespace {

// Groups whose contents are not text of the document and that the reader skips whole.
constexpr const char* kSkippedDestinations[] = {
    "stylesheet",
    "info",
    "header",
    "footer",
    "headerl",
    "headerr",
    "headerf",
    "footerl",
    "footerr",
    "footerf",
    "footnote",
    "listtable",
    "listoverridetable",
    "rsidtbl",
    "generator",
    "xmlnstbl",
    "pgdsctbl",
    "themedata",
    "colorschememapping",
    "datastore",
    "latentstyles",
    "nonshppict",
    "filetbl",
    "revtbl",
    "mmathPr",
    "userprops",
    "annotation",
    "atnid",
    "atnauthor",
    "bkmkstart",
    "bkmkend",
    "fldtype",
    "private",
    "xe",
    "tc",
    "txe",
    "pn",
    "listpicture",
    "objdata",
    "template",
    "expandedcolortbl",
    "defchp",
    "defpap",
    "docvar",
    "pgptbl",
};

constexpr const char* kNames[] = {
#define DATORIA_RTF_NAME(name) #name,
    DATORIA_RTF_CONTROL_WORDS(DATORIA_RTF_NAME)
#undef DATORIA_RTF_NAME
};

std::uint32_t Hash(QByteArrayView letters)
{
    std::uint32_t h = 2166136261u; // FNV-1a
    for (char c : letters) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

/** An open-addressing table of the words, made once: a look-up costs a hash and mostly one comparison. */
class WordTable
{
public:
    WordTable()
    {
        for (std::size_t i = 0; i < std::size(kNames); ++i)
            add(kNames[i], ControlWord(i + 2));
        for (const char* name : kSkippedDestinations)
            add(name, ControlWord::SkippedDestination);
    }

    ControlWord Find(QByteArrayView letters) const
    {
        for (std::uint32_t i = Hash(letters) & kMask;; i = (i + 1) & kMask) {
            const Slot& slot = m_slots[i];
            if (slot.name.isNull())
                return ControlWord::Other;
            if (slot.name == letters)
                return slot.word;
        }
    }

private:
    struct Slot
    {
        QByteArrayView name;
        ControlWord word = ControlWord::Other;
    };
    // At most a third full, so a look-up seldom probes more than one slot and always meets an empty one.
    static constexpr std::uint32_t kSize = 512;
    static constexpr std::uint32_t kMask = kSize - 1;
    static_assert(3 * (std::size(kNames) + std::size(kSkippedDestinations)) < kSize);

    void add(const char* name, ControlWord word)
    {
        const QByteArrayView letters(name, qsizetype(std::strlen(name)));
        std::uint32_t i = Hash(letters) & kMask;
        while (!m_slots[i].name.isNull())
            i = (i + 1) & kMask;
        m_slots[i] = Slot{letters, word};
    }

    std::array<Slot, kSize> m_slots;
};

} // namespace

ControlWord LookUpControlWord(QByteArrayView letters)
{
    static const WordTable kTable;
    return kTable.Find(letters);
}

} // namespace richtext
