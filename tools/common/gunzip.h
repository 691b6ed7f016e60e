// Inflating a gzip file held in memory.
#pragma once

#include <QByteArray>

#include <optional>

// nullopt when the data is not gzip, is cut short or would inflate beyond maxBytes.
std::optional<QByteArray> gunzip(const QByteArray& compressed, qsizetype maxBytes);
