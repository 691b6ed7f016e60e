// Which names may name a set: a set's name becomes a file and a folder below the media folder.
#pragma once

#include <QString>

// False for an empty name and for one that could reach outside the media folder or make an
// unusable file name: holding "/", "\", "..", or a control character.
bool isUsableSetName(const QString& name);

// A name for a new set must also be a file name on every system the set may be copied to.
bool isUsableNewSetName(const QString& name);
