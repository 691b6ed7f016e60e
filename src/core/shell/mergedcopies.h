// The conflict copies beside a file, taking the later of two whole files, and the merged copies
// kept for a while after their merge.
#pragma once

#include "base/files.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// A merged copy is kept this long, for the learner to look at what the other machine had.
inline constexpr int MergedCopyKeptDays = 30;

// The paths of the conflict copies of the file originalName in folder (ending with "/"), in the
// order of their names.
std::vector<QString> conflictCopiesOf(const QString& folder, const QString& originalName);

// Renames a merged conflict copy to "<its name>.merged-<today, yyyy-MM-dd>" (with "-2", "-3" …
// when that is taken), so it is no longer taken for a copy to merge; the new path.
FileResult<QString> setMergedCopyAside(const QString& copyPath, const QDate& today);

// Removes the merged copies in folder set aside more than MergedCopyKeptDays before today, by the
// date in their names; nothing else.
void removeExpiredMergedCopies(const QString& folder, const QDate& today);

// For a file read and written whole, where the version saved last is the learner's last word:
// of the file and its copies, the youngest whose bytes usable accepts. Its bytes when that is a
// copy, nothing when it is the file.
using UsableBytes = std::function<bool(const QByteArray&)>;
FileResult<std::optional<QByteArray>> latestCopyContent(const QString& path,
                                                        const std::vector<QString>& copies,
                                                        const UsableBytes& usable);
