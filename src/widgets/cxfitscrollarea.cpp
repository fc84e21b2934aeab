#include "cxfitscrollarea.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

CXFitScrollArea::CXFitScrollArea(QWidget *content, QWidget *parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    // The content keeps the page's own background rather than the scroll area's base colour.
    viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    setWidget(content);
    connect(qApp, &QApplication::focusChanged, this, &CXFitScrollArea::showFocused);
}

void CXFitScrollArea::showFocused(QWidget *old, QWidget *now)
{
    Q_UNUSED(old)
    if (!now || !widget() || !widget()->isAncestorOf(now))
        return;
    // A click or a value just typed may have left layouts to redo; scroll by where things will be.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    ensureWidgetVisible(now, 0, 0);
}

QSize CXFitScrollArea::sizeHint() const
{
    // QScrollArea caps its hint at a few dozen lines of text; this one asks for the whole.
    const int frame = 2 * frameWidth();
    QSize hint = widget() ? widget()->sizeHint() : QSize();
    if (widget() && widget()->hasHeightForWidth())
        hint.setHeight(qMax(hint.height(), widget()->heightForWidth(hint.width())));
    return hint.expandedTo(widget() ? widget()->minimumSizeHint() : QSize()) + QSize(frame, frame);
}

CXFitScrollArea *CXFitScrollArea::wrap(QWidget *page)
{
    QLayout *own = page->layout();
    if (!own)
        return nullptr;
    if (own->count() == 1) {
        if (auto *area = qobject_cast<CXFitScrollArea *>(own->itemAt(0)->widget()))
            return area;
    }
    // Made inside the page's window, so that the widgets moved onto it keep their Tab order.
    auto *content = new QWidget(page);
    // Takes the layout off the page, with every widget it manages.
    content->setLayout(own);
    auto *area = new CXFitScrollArea(content, page);
    area->setObjectName(QStringLiteral("saPage"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    return area;
}
