// The payment form: barcode parsing into its fields and the amount arithmetic between the
// summ, commission and to-account boxes, which must hold summ = to-account + commission in
// units whichever box is typed into.
#include "corvexppv.h"
#include "fuzzapplication.h"
#include "fuzzinput.h"

#include <QDoubleSpinBox>
#include <QLineEdit>

namespace {

ProviderParameter barcodeField(const QString &name, int pos, int start, int finish)
{
    ProviderParameter parameter;
    parameter.setName(name);
    parameter.setLabel(name);
    parameter.setPos(pos);
    parameter.setBarcodeStart(start);
    parameter.setBarcodeFinish(finish);
    return parameter;
}

BoxComProfile profileOf(FuzzInput &input, unsigned int multiplier)
{
    ComissionItemCondition condition;
    condition.setSummRangeBottom(FixNumber(multiplier, 0LL));
    condition.setSummRangeTop(FixNumber(multiplier, Q_INT64_C(100000000000)));
    condition.setFixCommiss(FixNumber(multiplier, qint64(input.take<uint16_t>())));
    condition.setPercent(FixNumber(100u, qint64(input.take<uint16_t>() % 10000)));
    condition.setMinPercentCommissResult(FixNumber(multiplier, qint64(input.take<uint8_t>())));
    condition.setMaxPercentCommissResult(FixNumber(multiplier, qint64(input.take<uint16_t>())));
    ComissionItem item;
    item.setConditions({condition});
    Comission schedule;
    schedule.setId(1);
    schedule.setItems({item});
    BoxComProfile profile;
    profile.setDefaultCommission(schedule);
    return profile;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const unsigned int MULTIPLIERS[] = {1, 100, 1000};
    FuzzInput input(data, size);
    const unsigned int multiplier = MULTIPLIERS[input.take<uint8_t>() % 3];
    const bool withProfile = input.flag();
    const bool typeSumm = input.flag();
    const double amount = input.take<uint32_t>() / double(multiplier);
    const int s1 = input.take<int8_t>(), f1 = input.take<int8_t>();
    const int s2 = input.take<int8_t>(), f2 = input.take<int8_t>();

    QSharedPointer<Currency> currency(new Currency);
    currency->setNumber3(643);
    currency->setAlpha3(QStringLiteral("RUB"));
    currency->setRealMultiplier(int(multiplier));
    currency->setCurrencySymbol(QStringLiteral("R"));
    QSharedPointer<BoxComProfile> profile;
    if (withProfile)
        profile.reset(new BoxComProfile(profileOf(input, multiplier)));
    QSharedPointer<Provider> provider(new Provider);
    provider->setId(1586);
    provider->setParameters({barcodeField(QStringLiteral("account"), 1, s1, f1),
        barcodeField(QStringLiteral("SummToPay"), 2, s2, f2)});
    CorvexPpv form(provider, currency, QSharedPointer<FixNumber>(), profile, QFont());

    // A scan writes every field or none.
    auto *account = form.findChild<QLineEdit *>(QStringLiteral("account"));
    const QString scan = input.rest();
    const QString before = account->text();
    bool valid = false;
    QObject::connect(&form, &CorvexPpv::barcodeValid, [&valid] { valid = true; });
    form.barcodeChanged(scan);
    if (!valid)
        FUZZ_CHECK(account->text() == before);

    auto *box = form.findChild<QDoubleSpinBox *>(
        typeSumm ? QStringLiteral("sbSumm") : QStringLiteral("sbToAccount"));
    box->setValue(amount);
    auto *summBox = form.findChild<QDoubleSpinBox *>(QStringLiteral("sbSumm"));
    FixNumber summ(multiplier);
    summ.setDouble(summBox->value());
    const FixNumber toAccount = form.summ();
    const FixNumber comission = form.comission();
    FUZZ_CHECK(summ.value() == toAccount.value() + comission.value());
    FUZZ_CHECK(toAccount.value() >= 0 && comission.value() >= 0);
    (void)form.details();
    (void)form.account();
    return 0;
}
