#include "boxcomprofile.h"
#include "testutil.h"

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
    // Invalid schedules are passed over for the commission, not for the flags.
    void lookup_data()
    {
        const Comission none;
        const BoxComProfile standard = profile(
            {entry(7, -1, fixed(100), PayCheckBeforePost), entry(-1, 42, fixed(200))}, fixed(300));
        const BoxComProfile badProvider
            = profile({entry(7, -1, fixed(100)), entry(-1, 42, none, PayCheckOnline)}, fixed(300));
        const BoxComProfile badBoth
            = profile({entry(7, -1, none), entry(-1, 42, none, PayCheckOnline)}, fixed(300));
        const BoxComProfile repeated
            = profile({entry(-1, 8, fixed(1)), entry(-1, 42, fixed(100)), entry(-1, 8, fixed(2)),
                          entry(-1, 42, fixed(200), PayCheckPrintCheck)},
                none);
        const BoxComProfile both = profile({entry(7, 42, fixed(200), PayCheckOnline)}, none);
        const BoxComProfile zeroIds
            = profile({entry(0, 0, fixed(100), PayCheckOnline)}, fixed(300));
        addRows<BoxComProfile, long long, long long, long long, int>(
            {"subject", "group", "provider", "commission", "flags"},
            {{"provider", standard, 7, 42, 200, PayCheckNone},
                {"group", standard, 7, 43, 100, PayCheckBeforePost},
                {"default", standard, 9, 50, 300, PayCheckNone},
                {"nothing", profile({}, none), 9, 50, 0, PayCheckNone},
                {"bad provider", badProvider, 7, 42, 100, PayCheckOnline},
                {"bad both", badBoth, 7, 42, 300, PayCheckOnline},
                {"bad group", badBoth, 7, 43, 300, PayCheckNone},
                {"later wins", repeated, 1, 42, 200, PayCheckPrintCheck},
                {"one entry by group", both, 7, 43, 200, PayCheckOnline},
                {"zero ids name nothing", zeroIds, 0, 0, 300, PayCheckNone}});
    }
    void lookup()
    {
        QFETCH(BoxComProfile, subject);
        QFETCH(long long, group);
        QFETCH(long long, provider);
        QFETCH(long long, commission);
        QFETCH(int, flags);
        const FixNumber result = subject.calcComission(FixNumber(100, 50LL), group, provider, true);
        QCOMPARE(qMakePair(result.realMultiplier(), result.value()), qMakePair(100u, commission));
        QCOMPARE(int(subject.getCheckFlags(group, provider)), flags);
    }

    void validityAndReset()
    {
        BoxComProfile subject = profile({}, Comission());
        QVERIFY(!subject.isValid());
        subject.setItems({entry(7, 42, Comission(), PayCheckOnline)});
        QVERIFY(subject.isValid());
        subject.setItems({});
        QCOMPARE(int(subject.getCheckFlags(7, 42)), int(PayCheckNone));
        subject.setDefaultCommission(fixed(300));
        QVERIFY(subject.isValid());
        QCOMPARE(subject.calcComission(FixNumber(100, 5LL), 7, 42, false).value(), 300LL);
    }
};

QTEST_GUILESS_MAIN(tst_BoxComProfile)
#include "tst_boxcomprofile.moc"
