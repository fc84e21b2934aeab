#include "cxregexpvalidator.h"

CXRegExpValidator::CXRegExpValidator(QObject *parent)
    : QValidator(parent)
{ }

CXRegExpValidator::CXRegExpValidator(const QRegExp &regExp, QObject *parent)
    : QValidator(parent)
    , m_regExp(regExp)
{ }

void CXRegExpValidator::setRegExp(const QRegExp &regExp)
{
    if (m_regExp == regExp)
        return;
    m_regExp = regExp;
    emit changed();
}

QValidator::State CXRegExpValidator::validate(QString &input, int &pos) const
{
    // exactMatch() records how far the text matched, so a copy keeps this const and reentrant.
    QRegExp regExp = m_regExp;
    if (regExp.exactMatch(input))
        return Acceptable;
    if (regExp.matchedLength() == input.size())
        return Intermediate;
    pos = input.size();
    return Invalid;
}
