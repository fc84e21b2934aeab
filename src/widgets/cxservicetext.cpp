#include "cxservicetext.h"

#include <algorithm>

namespace {
const QChar ZERO_WIDTH_SPACE(0x200B);
const QChar REPLACEMENT(0xFFFD);
const QChar ELLIPSIS(0x2026);
} // namespace

QString CXServiceText::shown(const QString &text, int maxChars)
{
    const int length = cutAt(text, 0, maxChars);
    QString result = breakable(text, 0, length);
    if (length < text.size())
        result += QLatin1Char(' ') + note(text.size() - length);
    return result;
}

QStringList CXServiceText::shownLines(const QString &text, int maxLines, int maxChars)
{
    QStringList lines;
    int shown = 0;
    int from = 0;
    while (from <= text.size() && lines.size() < maxLines && shown < maxChars) {
        int end = text.indexOf(QLatin1Char('\n'), from);
        if (end < 0)
            end = text.size();
        const int length = cutAt(text, from, std::min(end - from, maxChars - shown));
        lines << breakable(text, from, length);
        shown += length;
        from = from + length < end ? from + length : end + 1;
    }
    if (from < text.size())
        lines << note(text.size() - from);
    return lines;
}

QString CXServiceText::note(qint64 leftOut)
{
    return ELLIPSIS + QLatin1Char(' ') + tr("(%1 more characters not shown)").arg(leftOut);
}

// The length of the piece from `from` that holds at most `length` characters and does not end
// between the two halves of a surrogate pair.
int CXServiceText::cutAt(const QString &text, int from, int length)
{
    length = std::max(0, std::min(length, int(text.size()) - from));
    if (length > 0 && from + length < text.size() && text.at(from + length - 1).isHighSurrogate())
        --length;
    return length;
}

QString CXServiceText::breakable(const QString &text, int from, int length)
{
    QString result;
    result.reserve(length + length / RUN_CHARS);
    int run = 0;
    for (int i = from; i < from + length; ++i) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            run = 0;
        } else if (run >= RUN_CHARS && !c.isLowSurrogate()) {
            result += ZERO_WIDTH_SPACE;
            run = 0;
        }
        result += c.isNull() ? REPLACEMENT : c;
        if (!c.isSpace())
            ++run;
    }
    return result;
}
