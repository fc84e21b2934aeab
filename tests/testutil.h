#ifndef TESTUTIL_H
#define TESTUTIL_H

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <initializer_list>
#include <tuple>

// Declares the columns of a data table and adds one row per tuple, so that short rows can share
// a line. The first element of a tuple is the row's name, the others fill the columns in order.
template<typename... T>
void addRows(std::initializer_list<const char *> columns,
    std::initializer_list<std::tuple<const char *, T...>> rows)
{
    Q_ASSERT(columns.size() == sizeof...(T));
    auto column = columns.begin();
    (QTest::addColumn<T>(*column++), ...);
    for (const auto &row : rows) {
        std::apply(
            [](const char *name, const T &...values) { (QTest::newRow(name) << ... << values); },
            row);
    }
}

// The compact JSON text of a map: keys, values and their kinds (number, text, flag) at once.
inline QString toJson(const QVariantMap &map)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonObject::fromVariantMap(map)).toJson(QJsonDocument::Compact));
}

#endif // TESTUTIL_H
