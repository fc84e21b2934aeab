#ifndef CXSERVICETEXT_H
#define CXSERVICETEXT_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Texts that come from the service (names, banks, codes, labels, descriptions) as they may be
// laid out on a page. A reply can hold any text: the layout of a very long text, above all of
// one unbroken word, holds the GUI thread for minutes. Every such text is shown through here:
// cut to a bound with a note of how much was left out, a NUL shown as U+FFFD instead of ending
// the rendering, and long runs without a space given invisible break points.
class CXServiceText
{
    Q_DECLARE_TR_FUNCTIONS(CXServiceText)

public:
    // One value: a name, a bank, a code, a label.
    static const int FIELD_CHARS = 500;
    // A description of several lines.
    static const int TEXT_LINES = 200;
    static const int TEXT_CHARS = 20000;
    // Characters without a space after which a line may break.
    static const int RUN_CHARS = 30;

    // At most maxChars characters of text (plain, not escaped), then the note of the rest.
    static QString shown(const QString &text, int maxChars = FIELD_CHARS);
    // The lines of text split at "\n" (empty lines kept), at most maxLines of them and maxChars
    // characters in all; when something was left out, the last line is the note of the rest.
    static QStringList shownLines(
        const QString &text, int maxLines = TEXT_LINES, int maxChars = TEXT_CHARS);
    // "… (N more characters not shown)"
    static QString note(qint64 leftOut);

private:
    static int cutAt(const QString &text, int from, int length);
    static QString breakable(const QString &text, int from, int length);
};

#endif // CXSERVICETEXT_H
