#ifndef CXRICHTEXTITEMDELIGATE_H
#define CXRICHTEXTITEMDELIGATE_H

#include <QHash>
#include <QSize>
#include <QString>
#include <QStyledItemDelegate>

class QTextDocument;

// Draws the display text of an item as rich text, wrapped to the item's width.
class CXRichTextItemDeligate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CXRichTextItemDeligate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    // The measured size of one row's text. A view lays out every row through sizeHint(), so the
    // measure is kept until the text or the available width changes, and only a paint at another
    // width than the measured one can correct it.
    struct Layout
    {
        QString html;
        int availableWidth = -1; // the width sizeHint() offered
        int textWidth = -1; // the width the size was taken at
        QSize size;
    };

    static void setUp(QTextDocument *document, const QString &html, int textWidth);
    static QSize roundedSize(const QTextDocument &document);
    static int availableWidth(const QStyleOptionViewItem &option);

    mutable QHash<int, Layout> m_layouts;
};

#endif // CXRICHTEXTITEMDELIGATE_H
