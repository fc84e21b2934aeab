#include "benchmain.h"

#include "cxpaytemplatesmodel.h"
#include "cxwpselecttemplate.h"

#include <QAbstractTextDocumentLayout>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QWizard>

#include <cmath>

// The template list with 10, 1,000 and 5,000 templates: filled, laid out, shown, scrolled to the
// end and painted; against a list view whose plain delegate draws the same cards as rich text.

namespace {

QVariantMap templateOf(int i, const QString &bank)
{
    QVariantMap addInfo;
    addInfo.insert(QStringLiteral("Contract"), QStringLiteral("N-%1").arg(i));
    addInfo.insert(QStringLiteral("Rate"), QStringLiteral("12.5"));
    QVariantMap item;
    item.insert(QStringLiteral("creditType"), QStringLiteral("Consumer credit"));
    item.insert(QStringLiteral("bankName"), bank);
    item.insert(QStringLiteral("creditCode"), QString::number(4000000000LL + i));
    item.insert(QStringLiteral("addInfo"), addInfo);
    return item;
}

// Two lists that differ, so that every round replaces the list.
QList<QVariant> templates(int count, int round)
{
    QList<QVariant> list;
    for (int i = 0; i < count; ++i)
        list << templateOf(i, QStringLiteral("Bank %1").arg(round % 2));
    return list;
}

// Lets the list lay its rows out (in slices, where it does) until its length settles.
void settle(QListView *view)
{
    int unchanged = 0;
    int maximum = -1;
    while (unchanged < 3) {
        QCoreApplication::processEvents();
        const int now = view->verticalScrollBar()->maximum();
        unchanged = now == maximum ? unchanged + 1 : 0;
        maximum = now;
    }
    view->scrollToBottom();
    QCoreApplication::processEvents();
    view->viewport()->repaint();
}

class PlainDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        painter->fillRect(option.rect, Qt::white);
        QTextDocument document;
        document.setTextWidth(option.rect.width());
        document.setHtml(index.data().toString());
        painter->save();
        painter->translate(option.rect.topLeft());
        document.documentLayout()->draw(painter, QAbstractTextDocumentLayout::PaintContext());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QTextDocument document;
        document.setTextWidth(option.rect.width());
        document.setHtml(index.data().toString());
        const QSizeF size = document.documentLayout()->documentSize();
        return QSize(int(std::lround(size.width())), int(std::lround(size.height())));
    }
};

} // namespace

static void BM_TemplateList_project(benchmark::State &state)
{
    QWizard wizard;
    CXWPSelectTemplate page(&wizard);
    page.resize(800, 600);
    page.show();
    auto *view = page.findChild<QListView *>(QStringLiteral("lvTemplates"));
    auto *model = qobject_cast<CXPayTemplatesModel *>(view->model());
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QList<QVariant> list = templates(int(state.range(0)), round++);
        state.ResumeTiming();
        model->setTemplates(list);
        settle(view);
    }
}
BENCHMARK(BM_TemplateList_project)
    ->Name("BM_TemplateList/project")
    ->Arg(10)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);

static void BM_TemplateList_baseline(benchmark::State &state)
{
    CXPayTemplatesModel cards(nullptr);
    QListView view;
    QStringListModel model;
    view.setItemDelegate(new PlainDelegate(&view));
    view.setModel(&model);
    view.setSpacing(4);
    view.setResizeMode(QListView::Adjust);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.resize(800, 600);
    view.show();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QList<QVariant> list = templates(int(state.range(0)), round++);
        state.ResumeTiming();
        QStringList html;
        for (const QVariant &item : list)
            html << cards.prepareItem(item.toMap());
        model.setStringList(html);
        settle(&view);
    }
}
BENCHMARK(BM_TemplateList_baseline)
    ->Name("BM_TemplateList/baseline")
    ->Arg(10)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);

CORVEX_BENCHMARK_MAIN(true)
