// The ICO container: several images of one icon, each stored as a 32-bit DIB with alpha.
#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>
#include <vector>

// Encodes the images in the given order (readers that take one image take the first).
// Nullopt when there is no image, or one is null or larger than 256 x 256.
std::optional<QByteArray> encodeIco(const std::vector<QImage>& images);
