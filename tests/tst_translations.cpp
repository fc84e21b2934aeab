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
    QString source;
    QString translation;
    bool finished = true;
};

// Messages of a .ts file by context, source and comment.
using Catalogue = QMap<QString, Message>;

QString keyOf(const QString &context, const QString &source, const QString &comment)
{
    return context + QLatin1String(" | ") + source
        + (comment.isEmpty() ? QString() : QLatin1String(" | ") + comment);
}

bool readCatalogue(const QString &path, Catalogue *catalogue, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context, comment;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.name().toString();
        if (xml.isEndElement() && name == QLatin1String("message")) {
            catalogue->insert(keyOf(context, message.source, comment), message);
        } else if (!xml.isStartElement()) {
            continue;
        } else if (name == QLatin1String("message")) {
            message = Message();
            comment.clear();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            message.finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            message.translation = xml.readElementText();
        }
    }
    *error = xml.errorString();
    return !xml.hasError();
}

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
    if (trimmed.isEmpty())
        return {text};
    const int start = text.indexOf(trimmed);
    return {text.left(start), text.mid(start + trimmed.size())};
}

Catalogue sources;
Catalogue russian;

} // namespace

// Every text of the plug-in's sources and forms has a finished Russian translation.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    // The texts of the sources as they stand now, extracted by lupdate into a fresh catalogue.
    void initTestCase()
    {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString fresh = work.filePath(QStringLiteral("corvexpay_ru.ts"));
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        QStringList arguments = QStringLiteral(CORVEX_LUPDATE_OPTIONS).split(QLatin1Char(' '));
        arguments << QStringLiteral(CORVEX_SOURCE_DIR "/src") << QStringLiteral("-ts") << fresh;
        lupdate.start(QStringLiteral(CORVEX_LUPDATE), arguments);
        QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

        QString error;
        QVERIFY2(readCatalogue(fresh, &sources, &error), qPrintable(error));
        QVERIFY2(readCatalogue(
                     QStringLiteral(CORVEX_SOURCE_DIR "/i18n/corvexpay_ru.ts"), &russian, &error),
            qPrintable(error));
        QVERIFY(!sources.isEmpty());
    }

    void translated_data()
    {
        QTest::addColumn<QString>("key");
        for (auto it = sources.cbegin(); it != sources.cend(); ++it)
            QTest::newRow(qPrintable(it.key())) << it.key();
    }

    void translated()
    {
        QFETCH(QString, key);
        QVERIFY2(russian.contains(key), "missing: run the target corvex_lupdate and translate");
        const Message message = russian.value(key);
        QVERIFY2(message.finished, "unfinished");
        QVERIFY2(!message.translation.trimmed().isEmpty(), "empty");
        QCOMPARE(matches(message.translation, PLACEHOLDER), matches(message.source, PLACEHOLDER));
        QCOMPARE(matches(message.translation, TAG), matches(message.source, TAG));
        QCOMPARE(outerSpace(message.translation), outerSpace(message.source));
    }

    // A text the sources no longer have is left over from an old refresh of the catalogue.
    void nothingStale()
    {
        QStringList stale;
        for (auto it = russian.cbegin(); it != russian.cend(); ++it) {
            if (!sources.contains(it.key()))
                stale << it.key();
        }
        QCOMPARE(stale, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
