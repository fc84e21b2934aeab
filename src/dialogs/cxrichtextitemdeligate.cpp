#include "cxrichtextitemdeligate.h"

#include <QAbstractTextDocumentLayout>
#include <QListView>
#include <QPainter>
#include <QTextDocument>

#include <cmath>

CXRichTextItemDeligate::CXRichTextItemDeligate(QObject *parent)
    : QStyledItemDelegate(parent)
{ }

void CXRichTextItemDeligate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
    else
        painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());

    const QString html = index.data(Qt::DisplayRole).toString();
    const int width = option.rect.width();
    QTextDocument document;
    setUp(&document, html, width);

    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = option.palette;
    context.palette.setColor(QPalette::Text, selected ? Qt::white : Qt::black);

    painter->save();
    painter->translate(option.rect.topLeft());
    painter->setClipRect(QRect(QPoint(0, 0), option.rect.size()));
    document.documentLayout()->draw(painter, context);
    // White cards on the list's white base: a thin frame tells one card from the next.
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawRect(QRect(QPoint(0, 0), option.rect.size() - QSize(1, 1)));
    // The card that the arrow keys are on: Enter or Space chooses it.
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
        painter->drawRect(QRect(QPoint(1, 1), option.rect.size() - QSize(2, 2)));
    }
    painter->restore();

    // The view answers sizeHintChanged() with a new layout and a repaint, so it is emitted only
    // when this paint found another size than the one the view laid the row out with.
    Layout &layout = m_layouts[index.row()];
    if (layout.html == html && layout.textWidth == width)
        return;
    const QSize size = roundedSize(document);
    const bool changed = layout.html != html || layout.size != size;
    if (layout.html != html)
        layout.availableWidth = -1;
    layout.html = html;
    layout.textWidth = width;
    layout.size = size;
    if (changed)
        emit const_cast<CXRichTextItemDeligate *>(this)->sizeHintChanged(index);
}

QSize CXRichTextItemDeligate::sizeHint(
    const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString html = index.data(Qt::DisplayRole).toString();
    const int width = availableWidth(option);
    Layout &layout = m_layouts[index.row()];
    if (layout.html == html && layout.availableWidth == width)
        return layout.size;

    QTextDocument document;
    setUp(&document, html, width);
    layout.html = html;
    layout.availableWidth = width;
    layout.textWidth = width;
    layout.size = roundedSize(document);
    return layout.size;
}

void CXRichTextItemDeligate::setUp(QTextDocument *document, const QString &html, int textWidth)
{
    document->setTextWidth(textWidth > 0 ? textWidth : -1);
    document->setHtml(html);
}

QSize CXRichTextItemDeligate::roundedSize(const QTextDocument &document)
{
    const QSizeF size = document.documentLayout()->documentSize();
    return QSize(int(std::floor(size.width() + 0.5)), int(std::floor(size.height() + 0.5)));
}

// A list lays its rows out across the width of its viewport, while the option of a size
// question carries the whole widget's rectangle; the text is wrapped to what a row gets.
int CXRichTextItemDeligate::availableWidth(const QStyleOptionViewItem &option)
{
    if (const auto *view = qobject_cast<const QListView *>(option.widget))
        return view->viewport()->width() - 2 * view->spacing();
    return option.rect.width();
}
