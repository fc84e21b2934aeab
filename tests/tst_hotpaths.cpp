#include "comission.h"
#include "corvexprotocol.h"
#include "cxwpmsgsender.h"
#include "payment.h"
#include "testutil.h"

#include <QProgressBar>
#include <QRegExp>
#include <QtTest>

#include <cmath>
#include <limits>

// The fast paths of money, commission, receipt and reply handling give exactly what the plain
// computation gives. Each oracle below is that plain computation, kept short.

namespace Oracle {

bool equal(const FixNumber &x, const FixNumber &y)
{
    if (x.realMultiplier() == y.realMultiplier() && x.value() == y.value())
        return true;
    const double a = y.toDouble();
    const double b = x.toDouble();
    return std::fabs(b - a) * 1e12 <= std::min(std::fabs(a), std::fabs(b));
}

FixNumber fromString(FixNumber number, const QString &text)
{
    QRegExp pattern(QStringLiteral("([0-9]+)([\\.,\\,]?)([0-9]*)"));
    if (!pattern.exactMatch(text))
        return number;
    QString normalized = text;
    normalized.replace(QLatin1Char(','), QLatin1Char('.'));
    number.setDouble(normalized.toDouble());
    return number;
}

QString toString(const FixNumber &number, QChar separator)
{
    const long long value = number.value();
    if (number.realMultiplier() <= 1)
        return QStringLiteral("%1").arg(value);
    const unsigned long long magnitude
        = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
    return QStringLiteral("%1%2%3%4")
        .arg(value < 0 ? QStringLiteral("-") : QString(),
            QString::number(magnitude / number.realMultiplier()), QString(separator),
            QStringLiteral("%1").arg(
                magnitude % number.realMultiplier(), number.decimals(), 10, QLatin1Char('0')));
}

// Every rule reads the moment for itself.
FixNumber comission(
    const Comission &schedule, const FixNumber &summ, bool inner, const QDateTime &now)
{
    FixNumber total(summ.realMultiplier());
    for (const ComissionItem &item : schedule.items()) {
        if (item.checkDt(now))
            total.setValue(total.value() + item.calcComission(summ, inner).value());
    }
    return total;
}

QStringList detailLines(const QVariantList &details, const QString &prefix)
{
    QMap<int, QStringList> byPos;
    for (const QVariant &detail : details) {
        const QVariantMap map = detail.toMap();
        bool printable = map.contains("printable") ? map.value("printable").toBool() : true;
        QString line = QStringLiteral("%1=%2").arg(
            prefix + map.value("checkLabel").toString(), map.value("value").toString());
        const QVariantList items = map.value("items").toList();
        if (!items.isEmpty()) {
            const QStringList members = detailLines(items, prefix + ' ');
            if (!printable)
                printable = !members.isEmpty();
            line += '\t' + members.join('\t');
        }
        if (printable)
            byPos[map.value("pos").toInt()].prepend(line);
    }
    QStringList lines;
    for (const QStringList &atPos : qAsConst(byPos))
        lines += atPos;
    return lines;
}

} // namespace Oracle

namespace {

const long long MAX = std::numeric_limits<long long>::max();
const long long MIN = std::numeric_limits<long long>::min();

QVariantMap detail(const QString &label, const QVariant &value, const QVariant &pos,
    const QVariant &printable = QVariant(), const QVariantList &items = QVariantList())
{
    QVariantMap map {{"name", label.toLower()}, {"checkLabel", label}, {"value", value}};
    if (pos.isValid())
        map.insert("pos", pos);
    if (printable.isValid())
        map.insert("printable", printable);
    if (!items.isEmpty())
        map.insert("items", items);
    return map;
}

// A rule on the given weekdays' half-hours (bit i of the mask is slot i, Monday first) and days
// of the month, with one condition of a fixed part and a percentage.
ComissionItem rule(const QStringList &days, const QStringList &months, long long fixed,
    const QDate &from = QDate(), const QDate &to = QDate())
{
    ComissionItemCondition condition;
    condition.setSummRangeBottom(FixNumber(100, 0LL));
    condition.setSummRangeTop(FixNumber(100, 1000000LL));
    condition.setFixCommiss(FixNumber(100, fixed));
    condition.setPercent(FixNumber(100, 150LL));
    ComissionItem item;
    item.setConditions({condition});
    item.setDaysMatrix(days);
    item.setMonthMatrix(months);
    item.setDtFrom(from);
    item.setDtTo(to);
    return item;
}

Comission schedule()
{
    const QStringList mornings
        = QStringList {"FFFFFF", "FFFFFF", "FFFFFF", "FFFFFF", "FFFFFF", "0", "800000000000"};
    QStringList oddDays;
    for (int i = 0; i < 12; ++i)
        oddDays << "55555555";
    Comission result;
    result.setId(1);
    result.setItems({rule(mornings, QStringList(), 100), rule(QStringList(), oddDays, 200),
        rule(QStringList(), QStringList(), 400, QDate(2024, 3, 1), QDate(2024, 3, 31)),
        rule(QStringList {"1"}, QStringList(), 800)});
    return result;
}

} // namespace

class TestHotPaths : public QObject
{
    Q_OBJECT

private slots:
    void comparisons_data()
    {
        addRows<FixNumber, FixNumber>({"a", "b"},
            {{"equal", {100, 150LL}, {100, 150LL}}, {"less", {100, 149LL}, {100, 150LL}},
                {"negative", {100, -5LL}, {100, 3LL}}, {"zeros", {100, 0LL}, {1000, 0LL}},
                {"scales", {100, 150LL}, {1000, 1500LL}},
                {"scales apart", {100, 150LL}, {1000, 1501LL}},
                {"2^36 apart by one", {100, 1LL << 36}, {100, (1LL << 36) + 1}},
                {"2^36 below", {100, (1LL << 36) - 1}, {100, 1LL << 36}},
                {"within tolerance", {100, 1000000000000000LL}, {100, 1000000000000001LL}},
                {"2^50", {100, (1LL << 50) - 1}, {100, 1LL << 50}},
                {"2^53 merged", {100, (1LL << 53) + 1}, {100, 1LL << 53}},
                {"extremes", {100, MIN}, {100, MAX}}, {"max and small", {100, MAX}, {100, 1LL}},
                {"multiplier 0", {0, 7LL}, {0, 8LL}}, {"multiplier 0 and 1", {0, 7LL}, {1, 7LL}},
                {"large multiplier", {4000000000u, 3LL}, {4000000000u, 4LL}}});
    }
    void comparisons()
    {
        QFETCH(FixNumber, a);
        QFETCH(FixNumber, b);
        QCOMPARE(a == b, Oracle::equal(a, b));
        QCOMPARE(a != b, !Oracle::equal(a, b));
        QCOMPARE(a < b, a.toDouble() < b.toDouble());
        QCOMPARE(a > b, a.toDouble() > b.toDouble());
        QCOMPARE(a <= b, Oracle::equal(a, b) || a.toDouble() < b.toDouble());
        QCOMPARE(a >= b, Oracle::equal(a, b) || a.toDouble() > b.toDouble());
        QCOMPARE(b >= a, Oracle::equal(b, a) || b.toDouble() > a.toDouble());
    }

    void arithmetic_data() { comparisons_data(); }
    void arithmetic()
    {
        QFETCH(FixNumber, a);
        QFETCH(FixNumber, b);
        const unsigned int m = std::max(a.realMultiplier(), b.realMultiplier());
        const bool same = a.realMultiplier() == b.realMultiplier();
        const unsigned long long ka = same ? 1 : m / std::max(a.realMultiplier(), 1u);
        const unsigned long long kb = same ? 1 : m / std::max(b.realMultiplier(), 1u);
        const auto left = ka * static_cast<unsigned long long>(a.value());
        const auto right = kb * static_cast<unsigned long long>(b.value());
        const FixNumber sum = a + b;
        const FixNumber difference = a - b;
        QCOMPARE(sum.value(), static_cast<long long>(left + right));
        QCOMPARE(difference.value(), static_cast<long long>(left - right));
        QCOMPARE(sum.realMultiplier(), m);
        QCOMPARE(difference.realMultiplier(), m);
    }

    // The rounding as first written: the dropped digits read one by one in extended precision.
    static long long plainRounding(unsigned int multiplier, double number)
    {
        const long double p = static_cast<long double>(multiplier) * number;
        const long long t = static_cast<long long>(p);
        const long double f = p - t;
        const long long d1 = static_cast<long long>(f * 10);
        const long long d2 = static_cast<long long>(f * 100);
        return d1 > 5 || (d1 == 5 && d2 % 2 != 0) ? t + 1 : t;
    }

    // Every amount of up to three decimals below 200.000, and its negative, at 100 and at 1.
    void setDoubleSweep()
    {
        QString firstMismatch;
        for (int k = -200000; k <= 200000 && firstMismatch.isEmpty(); ++k) {
            const double number = k / 1000.0;
            for (unsigned int multiplier : {1u, 100u}) {
                if (FixNumber(multiplier, number).value() != plainRounding(multiplier, number))
                    firstMismatch = QString::number(number, 'g', 17);
            }
        }
        QCOMPARE(firstMismatch, QString());
    }

    void setDouble_data()
    {
        QTest::addColumn<double>("number");
        for (double d : {2.5, 2.515625, 2.5625, 2.75, -2.75, 0.125, 1.239, 1.234, 0.0, -0.0,
                 123.455, 123.4551, 1e-9, -1e-9, 9.999, 0.05, 0.06, 1e15 + 0.5, 9.0e15, -9.0e15})
            QTest::newRow(qPrintable(QString::number(d, 'g', 17))) << d;
    }
    void setDouble()
    {
        QFETCH(double, number);
        for (unsigned int multiplier : {1u, 10u, 100u, 1000u}) {
            QCOMPARE(FixNumber(multiplier, number).value(), plainRounding(multiplier, number));
        }
    }

    void setString_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *text :
            {"12,5", "007", "1.239", "1.234", "0", "12.", "0,", "-1", ".5", "1 000", "1.2.3", "",
                "1,,2", "+1", "1e3", " 1", "99999999999999999", "123456789012.345"})
            QTest::newRow(*text ? text : "empty") << QString::fromLatin1(text);
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662");
        QTest::newRow("full-width digits") << QString::fromUtf8("\uff11\uff12");
    }
    void setString()
    {
        QFETCH(QString, text);
        for (unsigned int multiplier : {1u, 100u, 1000u}) {
            FixNumber number(multiplier, 42LL);
            number.setString(text);
            QCOMPARE(number, Oracle::fromString(FixNumber(multiplier, 42LL), text));
        }
    }

    void toString_data()
    {
        addRows<FixNumber>({"number"},
            {{"cents", {100, 12345LL}}, {"negative cents", {100, -5LL}}, {"zero", {100, 0LL}},
                {"mills", {1000, 7LL}}, {"whole", {1, -42LL}}, {"multiplier 0", {0, 9LL}},
                {"not a power of ten", {150, 149LL}}, {"beyond int", {3000000000u, 2999999999LL}},
                {"most negative", {100, MIN}}, {"largest", {1000000000u, MAX}}});
    }
    void toString()
    {
        QFETCH(FixNumber, number);
        QCOMPARE(number.toString(QLatin1Char(',')), Oracle::toString(number, ','));
        QCOMPARE(
            number.toString(), Oracle::toString(number, QString(QLocale().decimalPoint()).at(0)));
    }

    void comissionAt_data()
    {
        addRows<QDateTime, bool>({"now", "inner"},
            {{"Monday morning", QDateTime(QDate(2024, 3, 4), QTime(9, 10)), true},
                {"Monday afternoon", QDateTime(QDate(2024, 3, 4), QTime(12, 0)), false},
                {"Saturday", QDateTime(QDate(2024, 3, 9), QTime(9, 10)), true},
                {"Sunday 23:45", QDateTime(QDate(2024, 3, 10), QTime(23, 45)), true},
                {"even day in April", QDateTime(QDate(2024, 4, 2), QTime(0, 0)), false},
                {"UTC offset", QDateTime(QDate(2024, 3, 31), QTime(1, 0), Qt::OffsetFromUTC, 7200),
                    true},
                {"no time", QDateTime(QDate(2024, 3, 5), QTime()), true},
                {"null", QDateTime(), false}});
    }
    void comissionAt()
    {
        QFETCH(QDateTime, now);
        QFETCH(bool, inner);
        const Comission rules = schedule();
        const FixNumber summ(100, 20000LL);
        QCOMPARE(rules.calcComission(summ, inner, now), Oracle::comission(rules, summ, inner, now));
    }

    // The clock read once per computation: the same as each rule reading the local time itself.
    void comissionNow()
    {
        const Comission rules = schedule();
        const FixNumber summ(100, 20000LL);
        for (int attempt = 0; attempt < 3; ++attempt) {
            const QDateTime before = QDateTime::currentDateTime();
            const FixNumber result = rules.calcComission(summ, true);
            const QDateTime after = QDateTime::currentDateTime();
            if (before.time().minute() / 30 != after.time().minute() / 30)
                continue; // a half-hour began in between
            QCOMPARE(result, Oracle::comission(rules, summ, true, before));
            return;
        }
        QFAIL("no quiet moment to compare at");
    }

    void details_data()
    {
        const QVariantList group {detail("City", "Omsk", 0), detail("Street", "Lenina", 1)};
        const QVariantList hidden {detail("Code", 7, 0, false)};
        addRows<QVariantList>({"details"},
            {{"empty", {}},
                {"receipt",
                    {detail("Account", 123, 1), detail("Phone", "900", 0, false),
                        detail("Address", QString(), 2, QVariant(), group)}},
                {"equal positions", {detail("A", 1, 3), detail("B", 2, 3), detail("C", 3, 3)}},
                {"missing keys", {QVariantMap(), QVariantMap {{"value", 5}}}},
                {"positions as text",
                    {detail("A", 1, "2"), detail("B", 2, "x"), detail("C", 3, 1)}},
                {"printable texts", {detail("A", 1, 0, "false"), detail("B", 2, 0, "true")}},
                {"hidden group of hidden", {detail("G", 0, 0, false, hidden)}},
                {"hidden group of shown", {detail("G", 0, 0, false, group)}},
                {"two levels",
                    {detail("G", 0, 0, QVariant(), {detail("H", 1, 0, QVariant(), group)})}},
                {"not a map", {QVariant(5), QVariant("text")}}});
    }
    void details()
    {
        QFETCH(QVariantList, details);
        Payment payment;
        payment.setDetails(details);
        payment.setAdditionalMap({{"detailsForPrint", QVariantMap {{"Shift", 5}}}});
        QStringList expected = Oracle::detailLines(details, QString());
        QCOMPARE(payment.stringDetails(details, QString()), expected);
        QCOMPARE(payment.stringDetails(details, "> "), Oracle::detailLines(details, "> "));
        QCOMPARE(payment.stringDetails(), (expected << "Shift=5").join('\t'));
    }

    void replyReaders_data()
    {
        QTest::addColumn<QString>("json");
        const char *replies[][2] = {
            {"plain", "{'uid': 123, 'error': false, 'params': {'errorCode': 0}}"},
            {"uid text", "{'uid': '123', 'result': 0}"}, {"uid fraction", "{'uid': 12.5}"},
            {"uid flag", "{'uid': true}"}, {"huge uid", "{'uid': 1e30}"},
            {"result text", "{'result': 'x', 'resultDescription': 7}"},
            {"result null", "{'result': null, 'error': 'yes', 'description': ['a']}"},
            {"error number", "{'error': 1, 'description': 'd'}"},
            {"params list", "{'params': [1, 2]}"}, {"params text", "{'params': 'x'}"},
            {"code text", "{'params': {'errorCode': '19', 'description': null}}"},
            {"code huge", "{'params': {'errorCode': 3000000000}}"},
            {"code fraction", "{'params': {'errorCode': 1.5}}"},
            {"repeated key", "{'uid': 1, 'uid': 2, 'params': {'errorCode': 3, 'errorCode': 0}}"},
            {"nested", "{'params': {'templateList': [{'creditCode': 5}], 'lastName': 3}}"},
            {"empty", "{}"}};
        for (const auto &reply : replies)
            QTest::newRow(reply[0]) << QString::fromLatin1(reply[1]).replace('\'', '"');
    }
    void replyReaders()
    {
        QFETCH(QString, json);
        const CorvexReply parsed = CorvexReply::fromJson(json);
        QVERIFY(parsed.isValid());
        const QVariantMap map = QJsonDocument::fromJson(json.toUtf8()).object().toVariantMap();
        const CorvexReply converted(map);
        QCOMPARE(parsed.toMap(), map);
        QCOMPARE(parsed.uid(), converted.uid());
        QCOMPARE(parsed.resultFailed(), converted.resultFailed());
        QCOMPARE(parsed.resultDescription(), converted.resultDescription());
        QCOMPARE(parsed.hasError(), converted.hasError());
        QCOMPARE(parsed.error(), converted.error());
        QCOMPARE(parsed.description(), converted.description());
        QCOMPARE(parsed.params(), converted.params());
        QCOMPARE(parsed.paramsObject().toVariantMap(), converted.params());
        QCOMPARE(CorvexReply::hasErrorCodeIn(parsed.paramsObject()),
            CorvexReply::hasErrorCode(converted.params()));
        QCOMPARE(CorvexReply::errorCodeIn(parsed.paramsObject()),
            CorvexReply::errorCode(converted.params()));
    }

    // While the page waits, a tick repaints the progress bar and nothing behind it.
    void waitingTickPaintsTheBar()
    {
        CXWPMsgSender page(nullptr);
        page.resize(600, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.initProgress(60);
        auto *bar = page.findChild<QProgressBar *>("progressBar");
        QCoreApplication::processEvents();
        PaintSpy spy;
        page.setProgress();
        QCoreApplication::processEvents();
        QCOMPARE(bar->value(), 1);
        QCOMPARE(spy.painted, QList<QObject *>({bar}));
        page.releaseProgress();
    }

private:
    class PaintSpy : public QObject
    {
    public:
        PaintSpy() { qApp->installEventFilter(this); }
        ~PaintSpy() override { qApp->removeEventFilter(this); }
        QList<QObject *> painted;

    protected:
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted << watched;
            return false;
        }
    };
};

QTEST_MAIN(TestHotPaths)
#include "tst_hotpaths.moc"
