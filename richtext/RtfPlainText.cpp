#include "richtext/RtfPlainText.h"

#include "platform/Windows1252.h"

#include <QList>

namespace richtext {

namespace {

// Groups whose text is not part of the document's text.
bool IsSkippedDestination(const QByteArray& word)
{
    static const QByteArray kSkipped[] = {"fonttbl",
                                          "colortbl",
                                          "stylesheet",
                                          "info",
                                          "pict",
                                          "object",
                                          "header",
                                          "footer",
                                          "headerl",
                                          "headerr",
                                          "footerl",
                                          "footerr",
                                          "footnote",
                                          "listtable",
                                          "listoverridetable",
                                          "rsidtbl",
                                          "generator",
                                          "themedata",
                                          "colorschememapping",
                                          "datastore",
                                          "latentstyles",
                                          "fldinst",
                                          "xmlnstbl",
                                          "mmathPr",
                                          "pgdsctbl",
                                          "filetbl",
                                          "revtbl",
                                          "nonshppict"};
    for (const QByteArray& s : kSkipped) {
        if (word == s)
            return true;
    }
    return false;
}

struct GroupState
{
    bool skip = false;
    int ucSkip = 1;
};

} // namespace

QString RtfPlainText(const QByteArray& rtf)
{
    QString out;
    QList<GroupState> stack{GroupState{}};
    int pendingSkip = 0; // fallback characters still to drop after a \uN
    const qsizetype n = rtf.size();
    qsizetype i = 0;
    auto emit = [&](QChar c) {
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        if (!stack.last().skip)
            out.append(c);
    };
    while (i < n) {
        const char c = rtf[i];
        if (c == '{') {
            stack.append(stack.last());
            ++i;
            pendingSkip = 0;
            continue;
        }
        if (c == '}') {
            if (stack.size() > 1)
                stack.removeLast();
            ++i;
            pendingSkip = 0;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            emit(platform::DecodeWindows1252(QByteArray(1, c)).at(0));
            ++i;
            continue;
        }
        // A control symbol or word.
        ++i;
        if (i >= n)
            break;
        const char s = rtf[i];
        if (s == '\'') {
            const QByteArray hex = rtf.mid(i + 1, 2);
            bool ok = false;
            const int value = hex.toInt(&ok, 16);
            i += 3;
            if (ok)
                emit(platform::DecodeWindows1252(QByteArray(1, char(value))).at(0));
            continue;
        }
        if (s == '*') {
            stack.last().skip = true; // an ignorable destination this reader does not know
            ++i;
            continue;
        }
        if (!((s >= 'a' && s <= 'z') || (s >= 'A' && s <= 'Z'))) {
            ++i;
            if (s == '\\' || s == '{' || s == '}')
                emit(QChar(char16_t(s)));
            else if (s == '~')
                emit(QChar(0x00A0));
            else if (s == '\n' || s == '\r')
                emit(QChar(u'\n'));
            continue;
        }
        const qsizetype start = i;
        while (i < n && ((rtf[i] >= 'a' && rtf[i] <= 'z') || (rtf[i] >= 'A' && rtf[i] <= 'Z')) &&
               i - start < 32)
            ++i;
        const QByteArray word = rtf.mid(start, i - start);
        bool hasParam = false;
        bool negative = false;
        long long param = 0;
        if (i < n && rtf[i] == '-') {
            negative = true;
            ++i;
        }
        while (i < n && rtf[i] >= '0' && rtf[i] <= '9') {
            if (param < 1000000000)
                param = param * 10 + (rtf[i] - '0');
            hasParam = true;
            ++i;
        }
        if (negative)
            param = -param;
        if (i < n && rtf[i] == ' ')
            ++i;

        if (word == "par" || word == "line" || word == "sect" || word == "page") {
            emit(QChar(u'\n'));
        } else if (word == "tab") {
            emit(QChar(u'\t'));
        } else if (word == "cell") {
            emit(QChar(u'\t'));
        } else if (word == "row") {
            emit(QChar(u'\n'));
        } else if (word == "uc" && hasParam) {
            stack.last().ucSkip = int(std::clamp<long long>(param, 0, 10));
        } else if (word == "u" && hasParam) {
            const auto unit = static_cast<char16_t>(param < 0 ? param + 65536 : param);
            if (!stack.last().skip)
                out.append(QChar(unit));
            pendingSkip = stack.last().ucSkip;
        } else if (word == "bin" && hasParam) {
            i += std::clamp<long long>(param, 0, n - i);
        } else if (word == "emdash") {
            emit(QChar(0x2014));
        } else if (word == "endash") {
            emit(QChar(0x2013));
        } else if (word == "bullet") {
            emit(QChar(0x2022));
        } else if (word == "lquote") {
            emit(QChar(0x2018));
        } else if (word == "rquote") {
            emit(QChar(0x2019));
        } else if (word == "ldblquote") {
            emit(QChar(0x201C));
        } else if (word == "rdblquote") {
            emit(QChar(0x201D));
        } else if (IsSkippedDestination(word)) {
            stack.last().skip = true;
        }
    }
    while (out.endsWith(u'\n'))
        out.chop(1);
    return out;
}

} // namespace richtext
