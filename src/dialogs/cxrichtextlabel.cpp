#include "cxrichtextlabel.h"

#include <QResizeEvent>

namespace {
// The width asked for before a layout gave the label one, in average characters.
const int PREFERRED_CHARACTERS = 60;
} // namespace

CXRichTextLabel::CXRichTextLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setTextFormat(Qt::RichText);
    setWordWrap(true);
}

QSize CXRichTextLabel::sizeHint() const
{
    // Once laid out, the width it has; before, a width of a comfortable line.
    const int width = qMax(minimumSizeHint().width(),
        testAttribute(Qt::WA_Resized) ? this->width()
                                      : fontMetrics().averageCharWidth() * PREFERRED_CHARACTERS);
    return QSize(width, heightForWidth(width));
}

void CXRichTextLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    // The hint follows the width; the layout learns of it only when told.
    if (event->size().width() != event->oldSize().width())
        updateGeometry();
}
