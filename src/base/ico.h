// The first picture of an ICO file, read without an image plugin.
#pragma once

#include "base/png.h"

#include <QByteArray>

#include <optional>

// The file's first picture when it is stored as an uncompressed 32-bit bitmap with alpha, the
// form the control icons come in; nullopt for anything else, which a full ICO reader then
// decodes.
std::optional<RgbaImage> decodeIco(const QByteArray& bytes);
