#include "cxwpselecttemplate.h"
#include "ui_cxwpselecttemplate.h"

#include "corvexpaywizard.h"
#include "cxpaytemplatesmodel.h"
#include "cxrichtextitemdeligate.h"
#include "cxwpmsgsender.h"

#include "corvexlog.h"
#include "corvexprotocol.h"

#include <QEvent>
#include <QKeyEvent>

CXWPSelectTemplate::CXWPSelectTemplate(QWizard *wizard)
    : QWizardPage(wizard)
    , ui(new Ui_CXWPSelectTemplate)
    , m_model(new CXPayTemplatesModel(this))
{
    ui->setupUi(this);

    auto *delegate = new CXRichTextItemDeligate(ui->lvTemplates);
    ui->lvTemplates->setItemDelegateForColumn(0, delegate);

    ui->lvTemplates->setModel(m_model);
    ui->lvTemplates->setSpacing(4);
    // Cards wrap to the list's width, so they are laid out again when it changes.
    ui->lvTemplates->setResizeMode(QListView::Adjust);
    ui->lvTemplates->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Every card is measured as rich text; a long list is measured a slice at a time, so the
    // first cards show at once and the screen stays live while the rest are laid out.
    ui->lvTemplates->setLayoutMode(QListView::Batched);
    ui->lvTemplates->setBatchSize(50);
    // Only a click chooses a row: the operator's own selection never moves with the keyboard,
    // and the highlight shows the row that was clicked (set in itemSelected()).
    ui->lvTemplates->setSelectionMode(QAbstractItemView::NoSelection);
    connect(ui->lvTemplates, &QAbstractItemView::clicked, this, &CXWPSelectTemplate::itemSelected);
    // From the keyboard, Enter or Space on the current row chooses it as a click does.
    ui->lvTemplates->installEventFilter(this);
}

CXWPSelectTemplate::~CXWPSelectTemplate()
{
    delete ui;
}

void CXWPSelectTemplate::initializePage()
{
    QWizardPage::initializePage();
    m_selectedRow = -1;
    m_replyParams.clear();
    m_previousPageId = -1;
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard());
    // The wizard initialises a page before it records it as visited, so the last visited id
    // is the page that led here.
    if (payWizard && !payWizard->visitedIds().isEmpty())
        m_previousPageId = payWizard->visitedIds().constLast();

    auto *sender
        = payWizard ? qobject_cast<CXWPMsgSender *>(payWizard->page(m_previousPageId)) : nullptr;
    if (prevPageIsSender() && sender && m_model) {
        m_replyParams = CorvexReply(sender->answer()).params();
        m_model->setPhone(m_replyParams.value(CorvexKey::Phone).toString());
        m_model->setFullName(m_replyParams.value(CorvexKey::FullName).toString());
        const QVariant list = m_replyParams.value(CorvexKey::TemplateList);
        if (!list.isNull() && list.userType() != QMetaType::QVariantList)
            qCWarning(lcCorvexExchange) << "Template list that is not a list:" << list;
        m_model->setTemplates(
            list.userType() == QMetaType::QVariantList ? list.toList() : QList<QVariant>());
    }
    if (QItemSelectionModel *selection = ui->lvTemplates->selectionModel())
        selection->clearSelection();
    ui->lvTemplates->scrollToTop();
}

bool CXWPSelectTemplate::isComplete() const
{
    return QWizardPage::isComplete() && prevPageIsSender() && m_selectedRow >= 0;
}

int CXWPSelectTemplate::nextId() const
{
    const bool addNew = m_model && m_model->addNew(m_selectedRow);
    return CorvexPayWizard::pageIdFor(
        wizard(), addNew ? CorvexPayWizard::PageCheckParams : CorvexPayWizard::PagePayment);
}

QString CXWPSelectTemplate::preview() const
{
    return QString();
}

CorvexRequest CXWPSelectTemplate::outputData() const
{
    return CorvexRequest();
}

bool CXWPSelectTemplate::prevPageIsSender() const
{
    return m_previousPageId >= 0 && m_previousPageId % 16 == CorvexPayWizard::PageMsgSender;
}

QString CXWPSelectTemplate::requestCode() const
{
    return m_model ? m_model->requestCode(m_selectedRow) : QString();
}

QString CXWPSelectTemplate::description() const
{
    return m_model ? m_model->description(m_selectedRow) : QString();
}

QString CXWPSelectTemplate::info() const
{
    return m_model ? m_model->info(m_selectedRow) : QString();
}

QString CXWPSelectTemplate::plainDescription() const
{
    return m_model ? m_model->plainDescription(m_selectedRow) : QString();
}

QVariantMap CXWPSelectTemplate::additionalData() const
{
    return m_model ? m_model->additionalData(m_selectedRow) : QVariantMap();
}

// The list itself lays its rows out again when the delegate reports a new size; the page has
// nothing to add.
void CXWPSelectTemplate::itemSelected(const QModelIndex &index)
{
    const bool valid = index.isValid() && index.model();
    m_selectedRow = valid ? index.row() : -1;
    if (QItemSelectionModel *selection = ui->lvTemplates->selectionModel()) {
        if (valid)
            selection->select(index, QItemSelectionModel::ClearAndSelect);
        else
            selection->clearSelection();
    }
    emit completeChanged();
}

// Arrow keys only move the current row. Enter or Space chooses it; the key is spent there, so
// that the Enter that chooses a row does not also leave the page. Enter on the row already
// chosen goes on to the wizard's Next.
bool CXWPSelectTemplate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != ui->lvTemplates || event->type() != QEvent::KeyPress)
        return QWizardPage::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool space = key->key() == Qt::Key_Space;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if ((!space && !enter) || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const QModelIndex current = ui->lvTemplates->currentIndex();
    if (!current.isValid())
        return false;
    if (enter && current.row() == m_selectedRow)
        return false;
    itemSelected(current);
    return true;
}

void CXWPSelectTemplate::changeEvent(QEvent *event)
{
    QWizardPage::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        // The cards are rendered in the current language when painted; measured again, so
        // that a longer text is not cut. The chosen row stays.
        ui->lvTemplates->doItemsLayout();
    }
}
