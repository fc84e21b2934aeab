// The template list of a "listtid" reply: any JSON becomes rows whose texts stay consistent,
// with service text escaped and bounded in the cards and kept raw for the payment record.
#include "cxpaytemplatesmodel.h"
#include "cxwpselecttemplate.h"
#include "fuzzapplication.h"
#include "fuzzinput.h"

#include <QJsonDocument>
#include <QTextDocumentFragment>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString json = FuzzInput(data, size).rest();
    const QVariantList list = QJsonDocument::fromJson(json.toUtf8()).toVariant().toList();

    CXPayTemplatesModel model(nullptr);
    model.setTemplates(list);
    model.setPhone(QStringLiteral("9001234567"));
    const int rows = model.rowCount();
    FUZZ_CHECK(rows >= 1);
    FUZZ_CHECK(model.addNew(rows - 1));
    FUZZ_CHECK(model.requestCode(rows - 1).isEmpty());
    FUZZ_CHECK(model.additionalData(rows - 1).isEmpty());
    for (int row = 0; row < rows - 1 && row < 64; ++row) {
        FUZZ_CHECK(!model.addNew(row));
        const QString code = model.requestCode(row);
        const QString card = model.description(row);
        // The card shows the code's beginning as sent (a NUL as U+FFFD), with invisible break
        // points, and a bounded amount of text in all: each of some hundred texts cut at 500.
        QString start = code.left(400);
        start.replace(QChar(0), QChar(0xFFFD));
        FUZZ_CHECK(QString(card).remove(QChar(0x200B)).contains(start.toHtmlEscaped()));
        FUZZ_CHECK(QTextDocumentFragment::fromHtml(card).toPlainText().size() < 70000);
        FUZZ_CHECK(model.plainDescription(row).contains(code));
        (void)model.info(row);
        const QVariantMap additional = model.additionalData(row);
        FUZZ_CHECK(additional.size() == 2);
        (void)model.data(model.index(row, 0), Qt::DisplayRole);
    }
    FUZZ_CHECK(model.description(rows).isEmpty());
    FUZZ_CHECK(model.requestCode(-1).isEmpty());
    return 0;
}
