// Encoding a stroke-order strip as an 8-bit paletted PNG in memory.
#pragma once

#include "core/handwriting/strokestrip.h"

#include <QByteArray>

#include <optional>

// nullopt for an empty image or when libpng refuses it.
std::optional<QByteArray> encodeStripPng(const StripImage& image);
