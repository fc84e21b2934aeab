#include "corvexppv.h"

#include "cxfitscrollarea.h"
#include "cxmaskeditvalidator.h"
#include "cxservicetext.h"
#include "summdoublespinbox.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMultiMap>
#include <QRegExp>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const QString INVALID_STYLE = QStringLiteral("background-color: rgb(207, 173, 203)");
const QString SUMM_TO_PAY = QStringLiteral("SummToPay");
const QChar BULLET(0x2022);
const double AMOUNT_MAXIMUM = 1000000000.0;
// Without a usable currency the boxes show two decimals, so amounts count hundredths.
const unsigned int DEFAULT_MULTIPLIER = 100;

// A field whose pattern from the catalogue does not compile: the mask still guides typing, but
// the field can never be acceptable, so the form stays invalid instead of refusing every key.
class UnusablePatternValidator : public CXMaskEditValidator
{
public:
    using CXMaskEditValidator::CXMaskEditValidator;
    State validate(QString &, int &) const override { return Intermediate; }
};

// Characters of a refused value quoted in the note.
const int NOTE_VALUE_CHARS = 64;

// Whether every character of `text` is in `kept`, in order. A field's input mask drops the
// characters it has no place for and may change their case; its length drops the end.
bool keepsEvery(const QString &text, const QString &kept)
{
    int k = 0;
    for (const QChar c : text) {
        while (k < kept.size() && kept.at(k) != c)
            ++k;
        if (k == kept.size())
            return false;
        ++k;
    }
    return true;
}

// Whether the field would hold `text` whole: tried on a field of the same mask, length and
// validator, written the same way. Typed text that the validator refuses is undone.
bool fitsField(const QLineEdit *edit, const QString &text, bool typed)
{
    if (text.size() > edit->maxLength())
        return false;
    QLineEdit probe;
    probe.setMaxLength(edit->maxLength());
    probe.setInputMask(edit->inputMask());
    probe.setValidator(edit->validator());
    if (typed)
        probe.insert(text);
    else
        probe.setText(text);
    return keepsEvery(text, probe.text());
}

// Parameters by position, the most recently inserted first within one position.
QMultiMap<int, int> indexesByPos(const QList<ProviderParameter> &parameters)
{
    QMultiMap<int, int> byPos;
    for (int i = 0; i < parameters.size(); ++i)
        byPos.insert(parameters.at(i).pos(), i);
    return byPos;
}

// Shows an amount in a box that the operator is not typing in. A box's maximum grows to hold
// what the arithmetic or the host put there, so the box never cuts an amount. An amount finer
// than the box is rounded by the box itself, as if typed (12.355 shows as 12.36).
void showAmount(QDoubleSpinBox *box, double value)
{
    if (value > box->maximum())
        box->setMaximum(value);
    box->setValue(value);
}

} // namespace

CorvexPpv::CorvexPpv(const QSharedPointer<Provider> &provider,
    const QSharedPointer<Currency> &currency, const QSharedPointer<FixNumber> &prepay,
    const QSharedPointer<BoxComProfile> &comProfile, const QFont &inputFont, QWidget *parent)
    : QWidget(parent)
    , m_currency(currency)
    , m_prepay(prepay)
    , m_comProfile(comProfile)
    , m_provider(provider)
    , m_inputFont(inputFont)
{
    if (m_provider)
        createWidgets(m_provider->parameters(), m_provider->barcode());
}

unsigned int CorvexPpv::multiplier() const
{
    if (m_currency && m_currency->isValid())
        return static_cast<unsigned int>(m_currency->realMultiplier());
    return DEFAULT_MULTIPLIER;
}

FixNumber CorvexPpv::amountOf(const SummDoubleSpinBox *box) const
{
    // The box holds exactly its decimals; the rounding of FixNumber turns 0.29 into 29 units.
    return box ? FixNumber(multiplier(), box->value()) : FixNumber(multiplier(), 0LL);
}

FixNumber CorvexPpv::summ() const
{
    return amountOf(m_toAccountBox);
}

FixNumber CorvexPpv::comission() const
{
    return amountOf(m_comissionBox);
}

QString CorvexPpv::translateMask(const QString &mask)
{
    QString translated = mask;
    translated.replace(QLatin1Char('C'), QLatin1Char('X'));
    translated.replace(QLatin1Char('c'), QLatin1Char('x'));
    translated.replace(QLatin1Char('A'), QLatin1Char('N'));
    translated.replace(QLatin1Char('a'), QLatin1Char('n'));
    translated.replace(QLatin1Char('L'), QLatin1Char('A'));
    translated.replace(QLatin1Char('l'), QLatin1Char('a'));
    // 9 and 0 change places in one pass, so neither ends up as the other's replacement.
    for (QChar &c : translated) {
        if (c == QLatin1Char('9'))
            c = QLatin1Char('0');
        else if (c == QLatin1Char('0'))
            c = QLatin1Char('9');
    }
    const int n = translated.size();
    if (n > 2 && translated.at(n - 2) == QLatin1Char(';')
        && translated.at(n - 3) != QLatin1Char('\\'))
        return translated;
    return translated + QLatin1Char(';') + BULLET;
}

void CorvexPpv::createWidgets(const QList<ProviderParameter> &parameters, const QString &barcode)
{
    if (!m_provider)
        return;
    // The parameters on a panel of their own, which scrolls when the window leaves it too little
    // room; the amount rows below it, always in view.
    // Made first, so that the inputs follow in the Tab order as they are made.
    auto *panel = new QWidget;
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    m_parameterArea = new CXFitScrollArea(panel, this);
    m_parameterArea->setObjectName(QStringLiteral("saParameters"));
    auto *grid = new QGridLayout;
    m_grid = grid;
    panelLayout->addLayout(grid);
    m_params.clear();
    m_barcodeParams.clear();

    // A name given twice gets one field, the later one's, so no field is shown whose entry the
    // form would never read back.
    QHash<QString, int> lastOfName;
    for (int i = 0; i < parameters.size(); ++i) {
        m_params.insert(parameters.at(i).name(), parameters.at(i));
        lastOfName.insert(parameters.at(i).name(), i);
    }

    int lastPos = 0;
    const QMultiMap<int, int> byPos = indexesByPos(parameters);
    for (int pos : byPos.uniqueKeys()) {
        for (int index : byPos.values(pos)) {
            const ProviderParameter &parameter = parameters.at(index);
            if (parameter.name().isEmpty() || lastOfName.value(parameter.name()) != index)
                continue;
            if (!parameter.items().isEmpty())
                createGroupBox(parameter, grid, 0);
            else
                createWidget(parameter, grid, 0);
            lastPos = std::max(lastPos, parameter.pos());
        }
    }
    m_noteRow = lastPos + 1;

    panelLayout->addStretch(1);
    grid->setContentsMargins(3, 3, 3, 3);

    m_amountGrid = new QGridLayout;
    m_amountGrid->setContentsMargins(3, 3, 3, 3);
    m_summBox = addAmountRow(m_amountGrid, 0, tr("Summ"), QStringLiteral("sbSumm"));
    m_comissionBox = addAmountRow(m_amountGrid, 1, tr("Comission"), QStringLiteral("sbComission"));
    m_comissionBox->setReadOnly(true);
    m_toAccountBox = addAmountRow(m_amountGrid, 2, tr("To Account"), QStringLiteral("sbToAccount"));
    for (SummDoubleSpinBox *box : {m_summBox.data(), m_toAccountBox.data()}) {
        connect(
            box, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &CorvexPpv::sumChanged);
        connect(box, &QAbstractSpinBox::editingFinished, this, &CorvexPpv::editingFinished);
        box->installEventFilter(this);
    }

    if (m_prepay)
        showAmount(m_toAccountBox, m_prepay->toDouble());
    const FixNumber fixedSumm = m_provider->fixedSumm();
    if (fixedSumm.value() > 0)
        showAmount(m_toAccountBox, fixedSumm.toDouble());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_parameterArea, 1);
    layout->addLayout(m_amountGrid);

    if (!useBarcode()) {
        const QPointer<QWidget> first = firstEdit();
        if (!first) {
            m_summBox->setFocus(Qt::OtherFocusReason);
        } else {
            if (m_params.value(m_firstName).value().isEmpty()) {
                if (auto *edit = qobject_cast<QLineEdit *>(first))
                    fill(edit, m_params.value(m_firstName), barcode, false);
                else if (auto *combo = qobject_cast<QComboBox *>(first))
                    combo->setCurrentIndex(combo->findData(barcode));
            }
            first->setFocus(Qt::OtherFocusReason);
        }
    }

    validatorsChanged();
    showRefused();

    for (SummDoubleSpinBox *box : {m_summBox.data(), m_comissionBox.data(), m_toAccountBox.data()})
        box->setFont(m_inputFont);
    if (m_params.contains(SUMM_TO_PAY) && m_params.value(SUMM_TO_PAY).barcodeReadOnly()) {
        for (SummDoubleSpinBox *box :
            {m_summBox.data(), m_comissionBox.data(), m_toAccountBox.data()})
            box->setReadOnly(true);
    }
    alignLabels();
}

void CorvexPpv::setHeader(QWidget *header)
{
    if (auto *panel = m_parameterArea
            ? qobject_cast<QVBoxLayout *>(m_parameterArea->widget()->layout())
            : nullptr)
        panel->insertWidget(0, header);
}

// The inputs of the parameters and the amount boxes start at one edge although they are laid
// out apart: the label columns take the widest label of either.
void CorvexPpv::alignLabels()
{
    if (!m_grid || !m_amountGrid)
        return;
    int widest = 0;
    for (QGridLayout *grid : {m_grid, m_amountGrid}) {
        grid->setColumnMinimumWidth(0, 0);
        for (int row = 0; row < grid->rowCount(); ++row) {
            QLayoutItem *item = grid->itemAtPosition(row, 0);
            if (item && qobject_cast<QLabel *>(item->widget())
                && grid->itemAtPosition(row, 1) != item)
                widest = std::max(widest, item->widget()->sizeHint().width());
        }
    }
    for (QGridLayout *grid : {m_grid, m_amountGrid}) {
        grid->setColumnMinimumWidth(0, widest);
        grid->setColumnStretch(1, 1);
    }
}

SummDoubleSpinBox *CorvexPpv::addAmountRow(
    QGridLayout *grid, int row, const QString &label, const QString &name)
{
    auto *box = new SummDoubleSpinBox(this);
    box->setObjectName(name);
    box->setMinimum(0);
    box->setMaximum(AMOUNT_MAXIMUM);
    box->setDecimals(2);
    if (m_currency && m_currency->isValid()) {
        box->setDecimals(m_currency->decimals());
        box->setSuffix(QLatin1Char(' ') + m_currency->currencySymbol());
    }
    auto *title = new QLabel(label, this);
    // The label names its box, which is also how a language change finds it again.
    title->setBuddy(box);
    grid->addWidget(title, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

QPointer<QWidget> CorvexPpv::createWidget(
    const ProviderParameter &parameter, QGridLayout *grid, int level)
{
    if (!parameter.values().isEmpty())
        return createComboBox(parameter, grid, level);
    return createLineEdit(parameter, grid, level);
}

void CorvexPpv::markFirstField(const ProviderParameter &parameter, int level)
{
    if (level == 0 && (m_firstPos < 0 || parameter.pos() < m_firstPos)) {
        m_firstPos = parameter.pos();
        m_firstName = parameter.name();
    }
}

void CorvexPpv::nameInput(QWidget *input, const ProviderParameter &parameter)
{
    input->setProperty("position", parameter.pos());
    m_titles.insert(
        parameter.name(), parameter.label().isEmpty() ? parameter.name() : parameter.label());
}

QPointer<QWidget> CorvexPpv::createLineEdit(
    const ProviderParameter &parameter, QGridLayout *grid, int level)
{
    auto *label = new QLabel(parameter.label(), this);
    auto *edit = new QLineEdit(this);
    if (parameter.barcodeStart() >= 0 && parameter.barcodeFinish() >= 0) {
        label->setText(label->text() + QLatin1Char('+'));
        edit->setReadOnly(parameter.barcodeReadOnly());
        m_barcodeParams.append(parameter);
    }
    connect(edit, &QLineEdit::editingFinished, this, &CorvexPpv::editingFinished);
    edit->setInputMask(translateMask(parameter.mask()));
    edit->setObjectName(parameter.name());

    const QString pattern
        = parameter.regExp().isEmpty() ? QStringLiteral(".*") : parameter.regExp();
    const QRegExp regExp(pattern, Qt::CaseSensitive, QRegExp::RegExp2);
    CXMaskEditValidator *validator = nullptr;
    if (regExp.isValid()) {
        validator = new CXMaskEditValidator(edit->displayText(), edit);
    } else {
        qWarning("Parameter \"%s\": its pattern does not compile (%s); the field cannot be "
                 "accepted",
            qPrintable(parameter.name()), qPrintable(regExp.errorString()));
        validator = new UnusablePatternValidator(edit->displayText(), edit);
    }
    validator->setRegExp(regExp);
    edit->setValidator(validator);
    connect(edit, &QLineEdit::textEdited, this, &CorvexPpv::validatorsChanged);

    nameInput(edit, parameter);
    if (!parameter.value().isEmpty())
        fill(edit, parameter, parameter.value(), true);
    markFirstField(parameter, level);

    const int row = std::max(parameter.pos(), 0);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    m_widgets.insert(parameter.name(), InputWidgetWrapper(edit));
    if (parameter.name() == SUMM_TO_PAY)
        prepareSummToPay(edit, true);
    edit->setFont(m_inputFont);
    return edit;
}

QPointer<QWidget> CorvexPpv::createComboBox(
    const ProviderParameter &parameter, QGridLayout *grid, int level)
{
    auto *label = new QLabel(parameter.label(), this);
    auto *combo = new QComboBox(this);
    connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), this,
        &CorvexPpv::validatorsChanged);
    combo->setObjectName(parameter.name());
    nameInput(combo, parameter);
    // A choice made by the operator, not the catalogue's, is the operator's to be told about.
    connect(combo, qOverload<int>(&QComboBox::activated), this, [this, combo] {
        m_touched.insert(combo);
        validatorsChanged();
    });
    markFirstField(parameter, level);

    const int row = std::max(parameter.pos(), 0);
    grid->addWidget(label, row, 0);
    grid->addWidget(combo, row, 1);

    combo->clear();
    const QMap<QString, QVariant> values = parameter.values();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        combo->addItem(it.key(), it.value());
    combo->setCurrentIndex(combo->findData(QVariant(parameter.value())));

    m_widgets.insert(parameter.name(), InputWidgetWrapper(combo));
    combo->setFont(m_inputFont);
    return combo;
}

void CorvexPpv::createGroupBox(const ProviderParameter &parameter, QGridLayout *grid, int level)
{
    auto *group = new QGroupBox(parameter.label(), this);
    group->setObjectName(parameter.name());
    auto *groupGrid = new QGridLayout(group);

    const QList<ProviderParameter> items = parameter.items();
    const QMultiMap<int, int> byPos = indexesByPos(items);
    for (int pos : byPos.uniqueKeys()) {
        for (int index : byPos.values(pos)) {
            const ProviderParameter &item = items.at(index);
            if (!item.items().isEmpty())
                createGroupBox(item, groupGrid, level + 1);
            else
                createWidget(item, groupGrid, level + 1);
        }
    }
    groupGrid->setSpacing(3);
    groupGrid->setContentsMargins(3, 3, 3, 3);
    grid->addWidget(group, std::max(parameter.pos(), 0), 0, 1, 2);
}

QPointer<QWidget> CorvexPpv::firstEdit() const
{
    if (m_params.isEmpty() || !m_widgets.contains(m_firstName))
        return nullptr;
    return m_widgets.value(m_firstName).widget();
}

void CorvexPpv::check()
{
    validatorsChanged();
}

void CorvexPpv::validatorsChanged()
{
    // A refused field is the operator's again once typed into.
    auto *typedInto = qobject_cast<QLineEdit *>(sender());
    if (typedInto && m_widgets.value(typedInto->objectName()).widget() == typedInto
        && m_refused.remove(typedInto->objectName()) > 0)
        showRefused();
    if (typedInto)
        m_touched.insert(typedInto);
    bool valid = true;
    for (auto it = m_widgets.cbegin(); it != m_widgets.cend(); ++it) {
        QWidget *widget = it.value().widget();
        if (!widget) {
            valid = false;
            continue;
        }
        if (!qobject_cast<QLineEdit *>(widget) && !qobject_cast<QComboBox *>(widget))
            continue;
        const bool fits = acceptable(it.key(), widget);
        // The amount field only carries a scanned amount; it is coloured but blocks nothing.
        if (it.key() != SUMM_TO_PAY)
            valid = valid && fits;
        const QString style = fits ? QString() : INVALID_STYLE;
        if (widget->styleSheet() != style)
            widget->setStyleSheet(style);
    }
    emit changed(valid);
}

bool CorvexPpv::acceptable(const QString &name, const QWidget *widget) const
{
    // Every line edit of the form has a validator; a value given that did not fit stays refused.
    return CXInputNote::acceptable(widget) && !m_refused.contains(name);
}

QList<CXInputNote::Problem> CorvexPpv::problems() const
{
    QMultiMap<int, QString> byRow;
    for (auto it = m_widgets.cbegin(); it != m_widgets.cend(); ++it) {
        const QWidget *widget = it.value().widget();
        if (it.key() != SUMM_TO_PAY && (!widget || !acceptable(it.key(), widget)))
            byRow.insert(widget ? widget->property("position").toInt() : 0, it.key());
    }
    QList<CXInputNote::Problem> found;
    for (const QString &name : byRow) {
        const QWidget *widget = m_widgets.value(name).widget();
        QString expects = tr("choose one");
        if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
            expects = CXInputNote::expects(edit, true);
        found.append({m_titles.value(name), expects, m_touched.contains(widget)});
    }
    return found;
}

QString CorvexPpv::enteredValue(const QWidget *widget) const
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget)) {
        if (const auto *validator = qobject_cast<const CXMaskEditValidator *>(edit->validator()))
            return validator->unmaskText(edit->displayText());
        return edit->text();
    }
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->currentData().toString();
    return QString();
}

void CorvexPpv::prepareParam(ProviderParameter &parameter) const
{
    if (!m_widgets.contains(parameter.name()))
        return;
    const QWidget *widget = m_widgets.value(parameter.name()).widget();
    parameter.setValue(enteredValue(widget));

    const auto *edit = qobject_cast<const QLineEdit *>(widget);
    if (parameter.name() == SUMM_TO_PAY && edit) {
        const QString text = edit->text();
        // An amount too small to pay, or a text that is no amount, stands for the boxes' amount.
        FixNumber amount(multiplier(), -1LL);
        if (!text.isEmpty() && text.toDouble() >= 0.01)
            amount.setString(text);
        if (amount.value() < 0)
            amount = summ();
        parameter.setValue(amount.toString(QLatin1Char('.')));
    }
}

// Values are read back at every depth, so an entry in a nested group reaches the payment.
void CorvexPpv::prepareItems(ProviderParameter &parameter) const
{
    QList<ProviderParameter> items = parameter.items();
    if (items.isEmpty())
        return;
    for (ProviderParameter &item : items) {
        prepareParam(item);
        prepareItems(item);
    }
    parameter.setItems(items);
}

QVariantList CorvexPpv::details() const
{
    QVariantList list;
    for (const ProviderParameter &original : m_params) {
        ProviderParameter parameter = original;
        prepareParam(parameter);
        prepareItems(parameter);
        list.append(parameter.toDetail());
    }
    return list;
}

QString CorvexPpv::account() const
{
    const QPointer<QWidget> first = firstEdit();
    return first ? enteredValue(first) : QString();
}

void CorvexPpv::barcodeChanged(const QString &val)
{
    if (val.isEmpty())
        return;
    // The piece of each field with the parameter that names it; a name given twice takes the last.
    QMap<QString, QPair<ProviderParameter, QString>> pieces;
    for (const ProviderParameter &parameter : qAsConst(m_barcodeParams)) {
        const int s = parameter.barcodeStart();
        const int f = parameter.barcodeFinish();
        if (m_widgets.value(parameter.name()).isNull() || f < 0 || s < 0 || s > f || s >= val.size()
            || f >= val.size()) {
            emit barcodeError(tr("Incorrect barcode"));
            return;
        }
        pieces.insert(parameter.name(), qMakePair(parameter, val.mid(s, f - s + 1)));
    }
    for (auto it = pieces.cbegin(); it != pieces.cend(); ++it) {
        if (auto *edit = qobject_cast<QLineEdit *>(m_widgets.value(it.key()).widget()))
            fill(edit, it.value().first, it.value().second, false);
    }
    emit barcodeValid();
    validatorsChanged();
}

void CorvexPpv::fill(
    QLineEdit *edit, const ProviderParameter &parameter, const QString &text, bool typed)
{
    if (fitsField(edit, text, typed)) {
        if (m_refused.remove(edit->objectName()) > 0)
            showRefused();
        // The catalogue's value is typed into the new field; a scan replaces what it holds.
        if (typed)
            edit->insert(text);
        else
            edit->setText(text);
        return;
    }
    m_refused.insert(edit->objectName(),
        qMakePair(parameter.label().isEmpty() ? parameter.name() : parameter.label(), text));
    {
        // An emptied amount field is no amount the boxes should take.
        const QSignalBlocker blocker(edit);
        edit->clear();
    }
    showRefused();
}

void CorvexPpv::showRefused()
{
    QGridLayout *grid = m_grid;
    if (!grid || (!m_refusedNote && m_refused.isEmpty()))
        return;
    if (!m_refusedNote) {
        // Names the fields whose given value did not fit, in the row between the parameters
        // and the amounts.
        m_refusedNote = new QLabel(this);
        m_refusedNote->setObjectName(QStringLiteral("lRefused"));
        m_refusedNote->setTextFormat(Qt::PlainText);
        m_refusedNote->setWordWrap(true);
        m_refusedNote->setStyleSheet(QStringLiteral("color: rgb(170, 0, 0)"));
        grid->addWidget(m_refusedNote, m_noteRow, 0, 1, 2, Qt::AlignTop);
    }
    QStringList lines;
    for (auto it = m_refused.cbegin(); it != m_refused.cend(); ++it) {
        lines << tr("%1: \"%2\" does not fit this field and was not entered")
                     .arg(CXServiceText::shown(it.value().first, NOTE_VALUE_CHARS),
                         CXServiceText::shown(it.value().second, NOTE_VALUE_CHARS));
    }
    m_refusedNote->setText(lines.join(QLatin1Char('\n')));
    m_refusedNote->setVisible(!lines.isEmpty());
}

void CorvexPpv::prepareSummToPay(QLineEdit *edit, bool disabled)
{
    if (!edit)
        return;
    connect(edit, &QLineEdit::textChanged, this,
        qOverload<const QString &>(&CorvexPpv::prepareSummToPay));
    edit->setDisabled(disabled);
    edit->setToolTip(tr("The field is used for barcode parsing"));
}

void CorvexPpv::prepareSummToPay(const QString &text)
{
    bool ok = false;
    const double amount = text.toDouble(&ok);
    if (!ok || !std::isfinite(amount) || amount < 0) {
        QMessageBox::critical(this, tr("Barcode parsing error"), tr("Invalid summ format: ") + text,
            QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }
    if (m_toAccountBox)
        showAmount(m_toAccountBox, amount);
}

FixNumber CorvexPpv::comissionOn(const FixNumber &amount, bool inner) const
{
    if (!m_comProfile || !m_provider)
        return FixNumber(amount.realMultiplier(), 0LL);
    FixNumber comission
        = m_comProfile->calcComission(amount, m_provider->groupId(), m_provider->id(), inner);
    if (comission.realMultiplier() != amount.realMultiplier())
        comission = FixNumber(amount.realMultiplier(), comission.toDouble());
    // The box cannot show a negative commission, so none is charged.
    if (comission.value() < 0)
        comission.setValue(0);
    return comission;
}

// The box the operator types in is only read: setting its value, maximum or decimals would
// reformat the text under the cursor. Only the other two boxes are written, with the signals of
// the other amount box blocked so the two never drive each other.
void CorvexPpv::sumChanged(double)
{
    auto *box = qobject_cast<QDoubleSpinBox *>(sender());
    if (box && m_summBox && m_toAccountBox && m_comissionBox) {
        if (box == m_summBox) {
            // The commission comes out of the amount paid, at most all of it.
            const FixNumber paid = amountOf(m_summBox);
            FixNumber comission = comissionOn(paid, true);
            if (comission.value() > paid.value())
                comission = paid;
            showAmount(m_comissionBox, comission.toDouble());
            const QSignalBlocker blocker(m_toAccountBox);
            showAmount(m_toAccountBox, (paid - comission).toDouble());
        } else if (box == m_toAccountBox) {
            // The commission comes on top of the amount credited, in full.
            const FixNumber credited = amountOf(m_toAccountBox);
            const FixNumber comission = comissionOn(credited, false);
            showAmount(m_comissionBox, comission.toDouble());
            const QSignalBlocker blocker(m_summBox);
            showAmount(m_summBox, (credited + comission).toDouble());
        }
    }
    emit amountChanged();
}

// QWidget's destructor hides the inputs after this form's own part is gone, and an input that
// had the focus then says its editing finished: no such signal may reach the form any more.
CorvexPpv::~CorvexPpv()
{
    const QList<QObject *> inputs = findChildren<QObject *>();
    for (QObject *input : inputs)
        input->disconnect(this);
}

void CorvexPpv::editingFinished()
{
    // The end-of-editing hook of the form: nothing is checked on it yet.
}

void CorvexPpv::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateTexts();
}

// The form's own texts in the current language; the parameters' labels are the provider's and
// stay as given, and nothing typed is touched.
void CorvexPpv::retranslateTexts()
{
    const QList<QLabel *> labels = findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    for (QLabel *label : labels) {
        if (!label->buddy())
            continue;
        if (label->buddy() == m_summBox)
            label->setText(tr("Summ"));
        else if (label->buddy() == m_comissionBox)
            label->setText(tr("Comission"));
        else if (label->buddy() == m_toAccountBox)
            label->setText(tr("To Account"));
    }
    alignLabels();
    showRefused();
    QWidget *summToPay = m_widgets.value(SUMM_TO_PAY).widget();
    if (summToPay && !summToPay->toolTip().isEmpty())
        summToPay->setToolTip(tr("The field is used for barcode parsing"));
}

// A wizard hides and shows its page whenever the page's completeness may have changed, and a
// spin box rewrites its text when shown: the amount being typed ("12." becoming "12.00") would
// be reformatted under the operator's cursor. The box in use keeps its text.
bool CorvexPpv::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && (watched == m_summBox || watched == m_toAccountBox)
        && static_cast<QWidget *>(watched)->hasFocus())
        return true;
    return QWidget::eventFilter(watched, event);
}
