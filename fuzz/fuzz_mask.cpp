// Provider masks and patterns from the host's catalogue, through the form that builds a field
// from them: any mask translates into a line-edit mask; a value from the catalogue, a template
// or a scan lands in the field whole or not at all; and the form is valid only when the
// account it would pay matches the field's pattern.
#include "corvexppv.h"
#include "fuzzapplication.h"
#include "fuzzinput.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegExp>

namespace {

// Every character of `given` is in `shown` at least as often: nothing of it was dropped or
// changed. Counted, not matched in order, so that it is no copy of the form's own test.
bool holdsEvery(const QString &given, const QString &shown)
{
    QHash<QChar, int> count;
    for (const QChar c : shown)
        ++count[c];
    for (const QChar c : given) {
        if (--count[c] < 0)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const bool scanned = input.flag();
    const QStringList parts = input.rest().split(QChar(0));
    const QString mask = parts.value(0).left(64);
    const QString pattern = parts.value(1).left(256);
    const QString value = parts.value(2);
    const QString typed = parts.value(3).left(64);

    const QString translated = CorvexPpv::translateMask(mask);
    // 9 and 0 change places in one pass: every 0 became a 9, and no 9 became a 0 twice.
    FUZZ_CHECK(translated.count(QLatin1Char('9')) == mask.count(QLatin1Char('0')));
    FUZZ_CHECK(translated.count(QLatin1Char('0')) == mask.count(QLatin1Char('9')));
    const bool ownBlank = translated.size() > 2 && translated.at(translated.size() - 2) == ';'
        && translated.at(translated.size() - 3) != '\\';
    FUZZ_CHECK(ownBlank || translated.endsWith(QStringLiteral(";") + QChar(0x2022)));

    // The account field of a provider, given the value from the catalogue (or a template), or
    // left empty to be filled from a scan of the value.
    ProviderParameter parameter;
    parameter.setName(QStringLiteral("account"));
    parameter.setLabel(QStringLiteral("Account"));
    parameter.setPos(1);
    parameter.setMask(mask);
    parameter.setRegExp(pattern);
    if (scanned) {
        parameter.setBarcodeStart(0);
        parameter.setBarcodeFinish(value.size() - 1);
    } else {
        parameter.setValue(value);
    }
    QSharedPointer<Provider> provider(new Provider);
    provider->setId(1586);
    provider->setParameters({parameter});
    CorvexPpv form(provider, QSharedPointer<Currency>(), QSharedPointer<FixNumber>(),
        QSharedPointer<BoxComProfile>(), QFont());
    bool valid = false;
    QObject::connect(&form, &CorvexPpv::changed, [&valid](bool now) { valid = now; });
    form.check();
    auto *edit = form.findChild<QLineEdit *>(QStringLiteral("account"));
    FUZZ_CHECK(edit);
    if (scanned)
        form.barcodeChanged(value);

    const QRegExp regExp(
        pattern.isEmpty() ? QStringLiteral(".*") : pattern, Qt::CaseSensitive, QRegExp::RegExp2);
    // The form pays what matches the pattern, and only that.
    const auto judged = [&] {
        if (!valid)
            return;
        FUZZ_CHECK(regExp.isValid());
        FUZZ_CHECK(regExp.exactMatch(form.account()));
    };

    // The value is in the field whole, or the field holds nothing and the form cannot be paid.
    if (!value.isEmpty()) {
        FUZZ_CHECK(holdsEvery(value, edit->text()) || (form.account().isEmpty() && !valid));
    }
    judged();

    // The operator types over it.
    edit->setFocus();
    edit->selectAll();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
    QCoreApplication::sendEvent(edit, &key);
    form.check();
    judged();
    FUZZ_CHECK(form.account().size() <= edit->text().size());
    return 0;
}
