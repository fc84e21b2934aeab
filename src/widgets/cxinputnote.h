#ifndef CXINPUTNOTE_H
#define CXINPUTNOTE_H

#include <QLabel>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>

class CXPhoneWidget;
class QLineEdit;

// What keeps a page from going on, said in words under its inputs: one line per input that is
// missing or wrong, "Field: what it expects" ("Mobile phone: 10 digits"). Inputs the operator
// has typed into are named in the colour of an error; while none of them is wrong, the inputs
// still to fill in are named in the page's own colour, so a grey Next or Finish always comes
// with words, and a page that has just opened is guided rather than scolded.
class CXInputNote : public QLabel
{
    Q_OBJECT

public:
    struct Problem
    {
        QString field;
        QString expects;
        bool touched = false;
    };

    // Placed as the last row of the page's layout, when the page has one.
    explicit CXInputNote(QWidget *page);

    // An input whose label names it: a line edit is wrong while its validator or input mask
    // refuses its text or, when `required`, while it is empty; a date or spin box while its text
    // is not a value it can take; a drop-down while nothing is chosen.
    void watch(QWidget *input, QLabel *title, bool required = false);
    // A phone widget's number, named by the widget's own label; always required.
    void watch(CXPhoneWidget *phone);
    // Problems the page knows of itself, shown after those of the watched inputs.
    void setSource(const std::function<QList<Problem>()> &source) { m_source = source; }

    QList<Problem> problems() const;

    // Whether the input holds what it may hold: a line edit what its validator or mask takes (and,
    // when `required`, something), a date or spin box a value it can take, a drop-down a choice.
    static bool acceptable(const QWidget *input, bool required = false);

    // What a line edit expects, from its pattern when that is a simple one ("\d{10}", "[A-Z]+"),
    // else from its input mask ("10 digits", "1 to 10 digits", "2 letters, 4 digits").
    static QString expects(const QLineEdit *edit, bool required = false);
    static QString patternWords(const QString &pattern);
    static QString maskWords(const QString &mask);
    // A label's text as a field name: without its shortcut mark and a trailing colon.
    static QString fieldName(const QString &labelText);

public slots:
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Watched
    {
        QPointer<QWidget> input;
        QPointer<QLabel> title;
        bool required;
    };

    QList<Watched> m_watched;
    QSet<const QObject *> m_touched;
    std::function<QList<Problem>()> m_source;
};

#endif // CXINPUTNOTE_H
