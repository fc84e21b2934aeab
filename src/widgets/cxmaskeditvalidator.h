#ifndef CXMASKEDITVALIDATOR_H
#define CXMASKEDITVALIDATOR_H

#include "cxregexpvalidator.h"

#include <QString>

// A regular-expression validator for a line edit with an input mask: the mask's literal
// characters are stripped before matching, so the pattern describes only what was typed.
// It compares position by position with the mask's empty template, so it must be given the
// line edit's displayText() (blanks included), which stays aligned with that template.
class CXMaskEditValidator : public CXRegExpValidator
{
    Q_OBJECT

public:
    CXMaskEditValidator(const QString &maskText, QObject *parent);

    QString maskText() const { return m_maskText; }
    void setMaskText(const QString &maskText) { m_maskText = maskText; }

    QString unmaskText(QString text) const;
    QValidator::State validate(QString &input, int &pos) const override;

private:
    QString m_maskText;
};

#endif // CXMASKEDITVALIDATOR_H
