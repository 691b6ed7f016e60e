// Recognising the copies a file-sync engine leaves beside a file that two machines changed.
#pragma once

#include <QString>

#include <optional>

// The name of the file a conflict copy was made of, for a bare file name in one of the forms the
// engines write:
//   Syncthing   Anna.sync-conflict-20261208-101500-ABCDEFG.rklog
//   Nextcloud   Anna (conflicted copy 2026-12-08 101500).rklog
//               Anna (conflicted copy laptop 2026-12-08 101500).rklog  (with the user's name)
//   Dropbox     Anna (Laptop's conflicted copy 2026-12-08).rklog
//               Anna (Laptop's conflicted copy 2026-12-08 (1)).rklog  (the day's second)
// A copy of a copy gives the first original. Anything else, including names that merely look
// alike (another learner's "Anna.sync-conflict.rklog", a date of other digits, a device id of
// other letters), is no conflict copy: nullopt.
std::optional<QString> conflictCopyOriginal(const QString& fileName);
