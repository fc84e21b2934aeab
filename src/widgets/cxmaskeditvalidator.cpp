#include "cxmaskeditvalidator.h"

#include <algorithm>

CXMaskEditValidator::CXMaskEditValidator(const QString &maskText, QObject *parent)
    : CXRegExpValidator(parent)
    , m_maskText(maskText)
{ }

QString CXMaskEditValidator::unmaskText(QString text) const
{
    if (m_maskText.isEmpty())
        return text;
    const int n = std::min(text.size(), m_maskText.size());
    QString typed;
    typed.reserve(n);
    for (int i = 0; i < n; ++i) {
        if (text.at(i) != m_maskText.at(i))
            typed.append(text.at(i));
    }
    return typed;
}

QValidator::State CXMaskEditValidator::validate(QString &input, int &pos) const
{
    QString typed = unmaskText(input);
    const State state = CXRegExpValidator::validate(typed, pos);
    if (state == Invalid)
        pos = input.size();
    return state;
}
