#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>

namespace {

struct Message
{
    QString tag, source, translation, type;
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

} // namespace

// Every text of the plug-in's sources and forms has a finished Russian translation, and the
// catalogue keeps no text the sources no longer have.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    // A copy of the catalogue refreshed by lupdate from the sources as they stand now: a new text
    // comes in unfinished, and one the sources lost stays, marked vanished.
    void initTestCase()
    {
        QTemporaryDir work;
        const QString ts = work.filePath(QStringLiteral("corvexpay_ru.ts"));
        QVERIFY(QFile::copy(QStringLiteral(CORVEX_SOURCE_DIR "/i18n/corvexpay_ru.ts"), ts));
        QStringList arguments = QStringLiteral(CORVEX_LUPDATE_OPTIONS).split(QLatin1Char(' '));
        arguments.removeAll(QStringLiteral("-no-obsolete"));
        arguments << QStringLiteral(CORVEX_SOURCE_DIR "/src") << QStringLiteral("-ts") << ts;
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(QStringLiteral(CORVEX_LUPDATE), arguments);
        QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

        QFile file(ts);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("message")) {
                catalogue.append({context, {}, {}, {}});
            } else if (xml.name() == QLatin1String("source")) {
                catalogue.last().source = xml.readElementText();
                catalogue.last().tag += QLatin1String(" | ") + catalogue.last().source;
            } else if (xml.name() == QLatin1String("comment")) {
                catalogue.last().tag += QLatin1String(" | ") + xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                catalogue.last().type = xml.attributes().value(QLatin1String("type")).toString();
                catalogue.last().translation = xml.readElementText();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(!catalogue.isEmpty());
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
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
