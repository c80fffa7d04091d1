#pragma once

#include "event.h"
#include "task.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// Records as flat JSON objects with one text form per field, so that expected
// values can be written by hand or by another program and compared key by key.
// Date-times are UTC "yyyyMMddTHHmmssZ" (all-day values "yyyyMMdd"), a missing
// optional is null.
namespace IcalFields {

QJsonObject eventFields(const Event &event);
QJsonObject taskFields(const Task &task);

QJsonArray fieldsOf(const QList<Event> &events);
QJsonArray fieldsOf(const QList<Task> &tasks);

// The keys of `expected` whose values differ in `actual`, as readable lines.
// RRULE parts may come in any order: producers order them differently.
QStringList differences(const QJsonObject &expected, const QJsonObject &actual);
// The same, record by record; empty when both lists agree.
QString differences(const QJsonArray &expected, const QJsonArray &actual);

} // namespace IcalFields
