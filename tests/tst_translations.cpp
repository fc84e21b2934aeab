#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>

namespace {

struct Message
{
    QString language, tag, source, translation, type;
};

QList<Message> catalogue;

// Everything in a text that a translation must carry over unchanged, sorted: the word order of
// the translation may move it.
QStringList matches(const QString &text, const QRegularExpression &pattern)
{
    QStringList found;
    QRegularExpressionMatchIterator it = pattern.globalMatch(text);
    while (it.hasNext())
        found << it.next().captured(0);
    std::sort(found.begin(), found.end());
    return found;
}

const QRegularExpression PLACEHOLDER(QStringLiteral("%[1-9]"));
const QRegularExpression TAG(QStringLiteral("</?[A-Za-z][^>]*>"));

// The blanks that open and close a text, which join it to what the code puts around it.
QStringList outerSpace(const QString &text)
{
    const QString trimmed = text.trimmed();
    const int start = text.indexOf(trimmed);
    return {text.left(start), text.mid(start + trimmed.size())};
}

// Appends the messages of the catalogue `path` in `language` to `catalogue`.
bool read(const QString &path, const QString &language)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader xml(&file);
    QString context;
    int forms = -1; // plural forms read of the message, -1 when it has none
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            forms
                = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes") ? 0 : -1;
            catalogue.append({language, language + QLatin1String(" | ") + context, {}, {}, {}});
        } else if (xml.name() == QLatin1String("source")) {
            catalogue.last().source = xml.readElementText();
            catalogue.last().tag += QLatin1String(" | ") + catalogue.last().source;
        } else if (xml.name() == QLatin1String("comment")) {
            catalogue.last().tag += QLatin1String(" | ") + xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            catalogue.last().type = xml.attributes().value(QLatin1String("type")).toString();
            if (forms < 0)
                catalogue.last().translation = xml.readElementText();
        } else if (xml.name() == QLatin1String("numerusform")) { // each form on its own
            if (forms++ > 0)
                catalogue.append(catalogue.last());
            catalogue.last().translation = xml.readElementText();
        }
    }
    return !xml.hasError() && !catalogue.isEmpty();
}

} // namespace

// Every text of the plug-in's sources and forms has a finished Russian and English translation,
// the catalogues keep no text the sources no longer have, and the English one is spelt right.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    // Copies of the catalogues refreshed by lupdate from the sources as they stand now: a new
    // text comes in unfinished, and one the sources lost stays, marked vanished.
    void initTestCase()
    {
        for (const QString &language : {QStringLiteral("en"), QStringLiteral("ru")}) {
            QTemporaryDir work;
            const QString ts = work.filePath(QStringLiteral("corvexpay_%1.ts").arg(language));
            QVERIFY(QFile::copy(CORVEX_SOURCE_DIR "/i18n/" + QFileInfo(ts).fileName(), ts));
            QStringList arguments = QStringLiteral(CORVEX_LUPDATE_OPTIONS).split(QLatin1Char(' '));
            arguments.removeAll(QStringLiteral("-no-obsolete"));
            arguments << QStringLiteral(CORVEX_SOURCE_DIR "/src") << QStringLiteral("-ts") << ts;
            QProcess lupdate;
            lupdate.setProcessChannelMode(QProcess::MergedChannels);
            lupdate.start(QStringLiteral(CORVEX_LUPDATE), arguments);
            QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
            QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());
            QVERIFY(read(ts, language));
        }
    }

    void translated_data()
    {
        QTest::addColumn<int>("index");
        for (int index = 0; index < catalogue.size(); ++index)
            QTest::newRow(qPrintable(catalogue.at(index).tag)) << index;
    }

    void translated()
    {
        QFETCH(int, index);
        const Message &message = catalogue.at(index);
        QVERIFY2(message.type.isEmpty(),
            qPrintable(message.type + ": run the target corvex_lupdate and translate"));
        QVERIFY2(!message.translation.trimmed().isEmpty(), "empty");
        QCOMPARE(matches(message.translation, PLACEHOLDER), matches(message.source, PLACEHOLDER));
        QCOMPARE(matches(message.translation, TAG), matches(message.source, TAG));
        QCOMPARE(outerSpace(message.translation), outerSpace(message.source));
    }

    // What an English-speaking operator reads passes a spell checker, with the project's own
    // words (BIK, Corvex...) from tests/words_en.dic. A date format is not words.
    void englishSpelling()
    {
        QStringList texts;
        for (const Message &message : qAsConst(catalogue)) {
            if (message.language == QLatin1String("en")
                && !message.translation.contains(QRegularExpression(QStringLiteral("^[dMy ]+$"))))
                texts << QString(message.translation).remove(TAG).remove(PLACEHOLDER).remove('&');
        }
        QProcess hunspell;
        hunspell.start(QStringLiteral("hunspell"),
            {QStringLiteral("-d"), QStringLiteral("en_US"), QStringLiteral("-p"),
                QStringLiteral(CORVEX_SOURCE_DIR "/tests/words_en.dic"), QStringLiteral("-l")});
        QVERIFY2(
            hunspell.waitForStarted(), "hunspell is missing (Debian: hunspell hunspell-en-us)");
        hunspell.write(texts.join(QLatin1Char('\n')).toUtf8());
        hunspell.closeWriteChannel();
        QVERIFY(hunspell.waitForFinished(60000));
        QCOMPARE(
            QString::fromUtf8(hunspell.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            QStringList());
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
