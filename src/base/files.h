// Whole-file reading and crash-safe whole-file writing, shared by every file format.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reads the whole file; nullopt when it cannot be opened or read.
// Files larger than maxBytes are refused, so a hostile file cannot exhaust memory.
std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes = qint64(1) << 30);

// Writes through a temporary file beside the target that is flushed and renamed over it:
// a crash, a kill or a write error leaves the previous file whole. False when anything failed.
bool saveFileAtomically(const QString& path, const QByteArray& data);
