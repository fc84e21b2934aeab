#ifndef CXREGEXPVALIDATOR_H
#define CXREGEXPVALIDATOR_H

#include <QRegExp>
#include <QValidator>

// Judges input by a QRegExp pattern, the syntax the host's catalogue writes masks and patterns
// in: the whole input matching is Acceptable, input that matches as far as it goes is
// Intermediate, anything else Invalid. Qt 6 has no QRegExpValidator, so the same rule is kept
// here for both Qt majors, on the QRegExp of Qt 5 or of Qt 6's Core5Compat.
class CXRegExpValidator : public QValidator
{
    Q_OBJECT

public:
    explicit CXRegExpValidator(QObject *parent = nullptr);
    CXRegExpValidator(const QRegExp &regExp, QObject *parent);

    QRegExp regExp() const { return m_regExp; }
    void setRegExp(const QRegExp &regExp);

    QValidator::State validate(QString &input, int &pos) const override;

private:
    QRegExp m_regExp;
};

#endif // CXREGEXPVALIDATOR_H
