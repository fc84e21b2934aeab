#ifndef CXFITSCROLLAREA_H
#define CXFITSCROLLAREA_H

#include <QScrollArea>

// A frameless scroll area that asks for all the room its content needs, so that a window sized
// from its size hint shows the content whole, and that scrolls when it gets less: a small
// window then scrolls instead of squeezing the content's rows over each other.
class CXFitScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit CXFitScrollArea(QWidget *content, QWidget *parent = nullptr);

    QSize sizeHint() const override;

    // Moves `page`'s layout with the widgets it holds onto a content widget inside a new area,
    // which becomes the page's only child in its layout. Does nothing to a page without a
    // layout or one already wrapped; returns the page's area.
    static CXFitScrollArea *wrap(QWidget *page);

private slots:
    // An input that gets the focus, by a tap on its visible edge or from the program, scrolls
    // whole into view: the operator sees what they type.
    void showFocused(QWidget *old, QWidget *now);
};

#endif // CXFITSCROLLAREA_H
