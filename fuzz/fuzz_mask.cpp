// Provider masks and patterns from the host's catalogue: any mask translates into a line-edit
// mask, and any pattern and input leave the validator consistent and the input untouched.
#include "corvexppv.h"
#include "cxmaskeditvalidator.h"
#include "fuzzapplication.h"
#include "fuzzinput.h"

#include <QLineEdit>
#include <QRegExp>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList parts = FuzzInput(data, size).rest().split(QChar(0));
    const QString mask = parts.value(0).left(64);
    const QString pattern = parts.value(1).left(256);
    const QString typed = parts.value(2).left(64);

    const QString translated = CorvexPpv::translateMask(mask);
    // 9 and 0 change places in one pass: every 0 became a 9, and no 9 became a 0 twice.
    FUZZ_CHECK(translated.count(QLatin1Char('9')) == mask.count(QLatin1Char('0')));
    FUZZ_CHECK(translated.count(QLatin1Char('0')) == mask.count(QLatin1Char('9')));
    const bool ownBlank = translated.size() > 2 && translated.at(translated.size() - 2) == ';'
        && translated.at(translated.size() - 3) != '\\';
    FUZZ_CHECK(ownBlank || translated.endsWith(QStringLiteral(";") + QChar(0x2022)));

    QLineEdit edit;
    edit.setInputMask(translated);
    auto *validator = new CXMaskEditValidator(edit.displayText(), &edit);
    validator->setRegExp(QRegExp(pattern, Qt::CaseSensitive, QRegExp::RegExp2));
    edit.setValidator(validator);
    edit.insert(typed);

    QString text = edit.displayText();
    const QString shown = text;
    int pos = 0;
    const QValidator::State state = validator->validate(text, pos);
    FUZZ_CHECK(text == shown);
    FUZZ_CHECK(pos >= 0 && pos <= text.size());
    FUZZ_CHECK(validator->unmaskText(text).size() <= text.size());
    if (!QRegExp(pattern, Qt::CaseSensitive, QRegExp::RegExp2).isValid())
        FUZZ_CHECK(state != QValidator::Acceptable);
    return 0;
}
