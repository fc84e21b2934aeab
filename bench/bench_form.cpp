#include "benchmain.h"

#include "corvexppv.h"
#include "cxregexpvalidator.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegExp>
#include <QSignalBlocker>
#include <QTest>

#include <cmath>
#include <memory>

// The payment form: built from its parameters, one keystroke in the summ box, one barcode scan;
// each against the same widgets set up by hand.

namespace {

const QString PHONE_MASK = QStringLiteral("8(000)000-00-00");
const QString PHONE_PATTERN = QStringLiteral("^\\d{10}$");

QList<ProviderParameter> parameters(int count, bool barcode)
{
    QList<ProviderParameter> list;
    for (int i = 0; i < count; ++i) {
        ProviderParameter parameter;
        parameter.setName(QStringLiteral("field%1").arg(i, 2, 10, QLatin1Char('0')));
        parameter.setLabel(QStringLiteral("Field %1").arg(i));
        parameter.setPos(i + 1);
        if (i % 2 == 0) {
            parameter.setMask(PHONE_MASK);
            parameter.setRegExp(PHONE_PATTERN);
        }
        if (barcode && i < 2) {
            parameter.setBarcodeStart(i * 10);
            parameter.setBarcodeFinish(i * 10 + 9);
        }
        list << parameter;
    }
    return list;
}

QSharedPointer<Provider> provider(int count, bool barcode = false)
{
    auto result = QSharedPointer<Provider>::create();
    result->setId(1586);
    ProvidersGroup group;
    group.setId(12);
    result->setGroup(group);
    result->setParameters(parameters(count, barcode));
    return result;
}

QSharedPointer<Currency> currency()
{
    auto result = QSharedPointer<Currency>::create();
    result->setNumber3(643);
    result->setAlpha3(QStringLiteral("RUB"));
    result->setRealMultiplier(100);
    result->setCurrencySymbol(QStringLiteral("RUB"));
    return result;
}

// A default schedule of 1 % plus 1.00, and `entries` provider entries with the same schedule;
// the form's provider is the last one.
QSharedPointer<BoxComProfile> profile(int entries)
{
    ComissionItemCondition condition;
    condition.setSummRangeBottom(FixNumber(100, 0LL));
    condition.setSummRangeTop(FixNumber(100, 100000000000LL));
    condition.setFixCommiss(FixNumber(100, 100LL));
    condition.setPercent(FixNumber(100, 100LL));
    ComissionItem item;
    item.setConditions({condition});
    Comission schedule;
    schedule.setId(1);
    schedule.setItems({item});
    auto result = QSharedPointer<BoxComProfile>::create();
    result->setId(7);
    result->setDefaultCommission(schedule);
    QList<BoxComProfileItem> items;
    for (int i = 0; i < entries; ++i) {
        BoxComProfileItem entry;
        entry.setProviderId(i == entries - 1 ? 1586 : 100000 + i);
        entry.setCommission(schedule);
        items << entry;
    }
    result->setItems(items);
    return result;
}

std::unique_ptr<CorvexPpv> form(int count, int entries = 10, bool barcode = false)
{
    return std::make_unique<CorvexPpv>(provider(count, barcode), currency(),
        QSharedPointer<FixNumber>(), profile(entries), QFont(QStringLiteral("Sans"), 13));
}

// The same widgets as the form, by hand: a label and a line edit with its mask and validator per
// parameter, then the three amount boxes.
struct PlainForm
{
    explicit PlainForm(int count)
    {
        auto *grid = new QGridLayout(&widget);
        for (int i = 0; i < count; ++i) {
            auto *edit = new QLineEdit(&widget);
            if (i % 2 == 0) {
                edit->setInputMask(CorvexPpv::translateMask(PHONE_MASK));
                edit->setValidator(new CXRegExpValidator(QRegExp(PHONE_PATTERN), edit));
            }
            grid->addWidget(new QLabel(QStringLiteral("Field %1").arg(i), &widget), i + 1, 0);
            grid->addWidget(edit, i + 1, 1);
            edits << edit;
        }
        for (QDoubleSpinBox **box : {&summ, &comission, &toAccount}) {
            *box = new QDoubleSpinBox(&widget);
            (*box)->setRange(0, 1000000000.0);
            (*box)->setSuffix(QStringLiteral(" RUB"));
            grid->addWidget(new QLabel(QStringLiteral("Summ"), &widget), count + 2, 0);
            grid->addWidget(*box, count + 2, 1);
        }
        // 1 % plus 1.00 out of the amount paid.
        QObject::connect(
            summ, QOverload<double>::of(&QDoubleSpinBox::valueChanged), [this](double value) {
                const double fee = std::min(value, std::round(value + 100.0) / 100.0);
                comission->setValue(fee);
                const QSignalBlocker blocker(toAccount);
                toAccount->setValue(value - fee);
            });
    }

    QWidget widget;
    QList<QLineEdit *> edits;
    QDoubleSpinBox *summ = nullptr;
    QDoubleSpinBox *comission = nullptr;
    QDoubleSpinBox *toAccount = nullptr;
};

const QString BARCODE = QStringLiteral("90012345674001234567");

} // namespace

static void BM_BuildForm_project(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(form(int(state.range(0))).get());
}
BENCHMARK(BM_BuildForm_project)
    ->Name("BM_BuildForm/project")
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMicrosecond);

static void BM_BuildForm_baseline(benchmark::State &state)
{
    for (auto _ : state)
        PlainForm plain(int(state.range(0)));
}
BENCHMARK(BM_BuildForm_baseline)
    ->Name("BM_BuildForm/baseline")
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMicrosecond);

// One digit typed into the summ box and taken back, every round.
template<typename Box> void keystrokes(benchmark::State &state, Box *box)
{
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("12"));
    bool typing = true;
    for (auto _ : state) {
        QTest::keyClick(box, typing ? Qt::Key_5 : Qt::Key_Backspace);
        typing = !typing;
    }
}

static void BM_SummKeystroke_project(benchmark::State &state)
{
    const auto ppv = form(10, int(state.range(0)));
    ppv->show();
    keystrokes(state, ppv->findChild<QDoubleSpinBox *>(QStringLiteral("sbSumm")));
}
BENCHMARK(BM_SummKeystroke_project)
    ->Name("BM_SummKeystroke/project")
    ->Arg(10)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);

static void BM_SummKeystroke_baseline(benchmark::State &state)
{
    PlainForm plain(10);
    plain.widget.show();
    keystrokes(state, plain.summ);
}
BENCHMARK(BM_SummKeystroke_baseline)
    ->Name("BM_SummKeystroke/baseline")
    ->Arg(10)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);

static void BM_BarcodeScan_project(benchmark::State &state)
{
    const auto ppv = form(10, 10, true);
    for (auto _ : state)
        ppv->barcodeChanged(BARCODE);
}
BENCHMARK(BM_BarcodeScan_project)->Name("BM_BarcodeScan/project")->Unit(benchmark::kMicrosecond);

// The pieces put into their fields, and every field asked whether it is acceptable.
static void BM_BarcodeScan_baseline(benchmark::State &state)
{
    PlainForm plain(10);
    for (auto _ : state) {
        plain.edits[0]->setText(BARCODE.mid(0, 10));
        plain.edits[1]->setText(BARCODE.mid(10, 10));
        bool valid = true;
        for (QLineEdit *edit : plain.edits)
            valid = edit->hasAcceptableInput() && valid;
        benchmark::DoNotOptimize(valid);
    }
}
BENCHMARK(BM_BarcodeScan_baseline)->Name("BM_BarcodeScan/baseline")->Unit(benchmark::kMicrosecond);

CORVEX_BENCHMARK_MAIN(true)
