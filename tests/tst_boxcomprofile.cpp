#include "boxcomprofile.h"

#include <QtTest>

// A schedule that always charges the given number of units.
static Comission fixed(long long units)
{
    ComissionItemCondition condition;
    condition.setSummRangeTop(FixNumber(100, 100000000LL));
    condition.setFixCommiss(FixNumber(100, units));
    ComissionItem item;
    item.setConditions({condition});
    Comission schedule;
    schedule.setId(units);
    schedule.setItems({item});
    return schedule;
}

static BoxComProfileItem entry(
    long long group, long long provider, const Comission &schedule, EPayCheckFlags flags = {})
{
    BoxComProfileItem item;
    item.setProviderGroupId(group);
    item.setProviderId(provider);
    item.setCommission(schedule);
    item.setPayCheckFlags(flags);
    return item;
}

static BoxComProfile profile(const QList<BoxComProfileItem> &items, const Comission &fallback)
{
    BoxComProfile result;
    result.setId(5);
    result.setDefaultCommission(fallback);
    result.setItems(items);
    return result;
}

class tst_BoxComProfile : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data()
    {
        QTest::addColumn<BoxComProfile>("subject");
        QTest::addColumn<long long>("group");
        QTest::addColumn<long long>("provider");
        QTest::addColumn<long long>("commission");
        QTest::addColumn<int>("flags");
        const Comission none;
        const BoxComProfile standard = profile(
            {entry(7, -1, fixed(100), PayCheckBeforePost), entry(-1, 42, fixed(200))}, fixed(300));
        QTest::newRow("provider") << standard << 7LL << 42LL << 200LL << int(PayCheckNone);
        QTest::newRow("group") << standard << 7LL << 43LL << 100LL << int(PayCheckBeforePost);
        QTest::newRow("default") << standard << 9LL << 50LL << 300LL << int(PayCheckNone);
        QTest::newRow("nothing") << profile({}, none) << 9LL << 50LL << 0LL << int(PayCheckNone);
        // Invalid schedules are passed over for the commission, not for the flags.
        const BoxComProfile broken
            = profile({entry(7, -1, none), entry(-1, 42, none, PayCheckOnline)}, fixed(300));
        QTest::newRow("broken provider")
            << profile({entry(7, -1, fixed(100)), entry(-1, 42, none, PayCheckOnline)}, fixed(300))
            << 7LL << 42LL << 100LL << int(PayCheckOnline);
        QTest::newRow("broken both") << broken << 7LL << 42LL << 300LL << int(PayCheckOnline);
        QTest::newRow("broken group") << broken << 7LL << 43LL << 300LL << int(PayCheckNone);
        const BoxComProfile repeated
            = profile({entry(-1, 8, fixed(1)), entry(-1, 42, fixed(100)), entry(-1, 8, fixed(2)),
                          entry(-1, 42, fixed(200), PayCheckPrintCheck)},
                none);
        QTest::newRow("later wins") << repeated << 1LL << 42LL << 200LL << int(PayCheckPrintCheck);
        const BoxComProfile both = profile({entry(7, 42, fixed(200), PayCheckOnline)}, none);
        QTest::newRow("one entry by group") << both << 7LL << 43LL << 200LL << int(PayCheckOnline);
        QTest::newRow("zero ids name nothing") << profile({entry(0, 0, fixed(100), PayCheckOnline)},
            fixed(300)) << 0LL << 0LL << 300LL << int(PayCheckNone);
    }
    void lookup()
    {
        QFETCH(BoxComProfile, subject);
        QFETCH(long long, group);
        QFETCH(long long, provider);
        QFETCH(long long, commission);
        QFETCH(int, flags);
        const FixNumber result
            = subject.calcComission(FixNumber(1000, 50LL), group, provider, true);
        QCOMPARE(result.realMultiplier(), 1000u);
        QCOMPARE(result.value(), commission);
        QCOMPARE(int(subject.getCheckFlags(group, provider)), flags);
    }

    void validityAndReset()
    {
        BoxComProfile subject = profile({}, Comission());
        QVERIFY(!subject.isValid());
        subject.setItems({entry(7, 42, Comission(), PayCheckOnline)});
        QVERIFY(subject.isValid());
        const BoxComProfile copy = subject;
        QVERIFY(copy == subject);
        QCOMPARE(int(copy.getCheckFlags(7, 42)), int(PayCheckOnline));
        subject.setItems({});
        QVERIFY(copy != subject);
        QCOMPARE(int(subject.getCheckFlags(7, 42)), int(PayCheckNone));
        subject.setDefaultCommission(fixed(300));
        QVERIFY(subject.isValid());
        QCOMPARE(subject.calcComission(FixNumber(100, 5LL), 7, 42, false).value(), 300LL);
        BoxComProfileItem excluded = entry(7, 42, Comission());
        excluded.setExclude(true);
        QVERIFY(excluded != entry(7, 42, Comission()));
    }
};

QTEST_GUILESS_MAIN(tst_BoxComProfile)
#include "tst_boxcomprofile.moc"
