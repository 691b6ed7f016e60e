// Where each printed card lies: eight to an A4 page, and for two-sided cards the back of each
// card on the following page, where it lands behind its front once the sheet is turned over.
#pragma once

#include <QRectF>

#include <optional>
#include <vector>

inline constexpr int CardColumns = 2;
inline constexpr int CardRows = 4;
inline constexpr int CardsPerPage = CardColumns * CardRows;
inline constexpr double CardWidth = 90.0;
inline constexpr double CardHeight = 64.0;
// The grid sits in the middle of the page, leaving room for the cut marks around it, and so
// stays in place when the sheet is turned over.
inline constexpr double GridLeft = (210.0 - CardColumns * CardWidth) / 2;
inline constexpr double GridTop = (297.0 - CardRows * CardHeight) / 2;

// A face of a card: its 0-based page and its place there in millimetres from the top left.
struct CardFace {
    int page = 0;
    QRectF place;
    bool operator==(const CardFace&) const = default;
};

struct CardPlace {
    CardFace front;
    // Only for two-sided cards.
    std::optional<CardFace> back;
};

// The places of count cards in printing order. One-sided: eight cards on every page. Two-sided:
// the fronts of eight cards on one page and their backs on the next, each back in its front's
// row but in the mirrored column, where a sheet printed on both sides and turned over its long
// edge puts it.
std::vector<CardPlace> cardPlaces(int count, bool twoSided);
int cardPageCount(int count, bool twoSided);
