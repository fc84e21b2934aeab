#ifndef CXRICHTEXTLABEL_H
#define CXRICHTEXTLABEL_H

#include <QLabel>

// A word-wrapped rich-text label that asks for the height its text takes at the width it is
// given. A plain QLabel guesses a wrapped text's shape from its area alone, which makes a card
// narrow and tall and a page ask for more height than it needs.
class CXRichTextLabel : public QLabel
{
    Q_OBJECT

public:
    explicit CXRichTextLabel(const QString &text = QString(), QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
};

#endif // CXRICHTEXTLABEL_H
