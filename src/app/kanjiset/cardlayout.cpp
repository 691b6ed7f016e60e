// Where each printed card lies.
#include "app/kanjiset/cardlayout.h"

namespace {

QRectF cell(int row, int column) {
    return QRectF(GridLeft + column * CardWidth, GridTop + row * CardHeight, CardWidth, CardHeight);
}

}  // namespace

std::vector<CardPlace> cardPlaces(int count, bool twoSided) {
    std::vector<CardPlace> places;
    for (int i = 0; i < count; ++i) {
        const int sheet = i / CardsPerPage;
        const int slot = i % CardsPerPage;
        const int row = slot / CardColumns;
        const int column = slot % CardColumns;
        CardPlace place;
        place.front = CardFace{twoSided ? 2 * sheet : sheet, cell(row, column)};
        if (twoSided) {
            place.back = CardFace{2 * sheet + 1, cell(row, CardColumns - 1 - column)};
        }
        places.push_back(place);
    }
    return places;
}

int cardPageCount(int count, bool twoSided) {
    const int sheets = (count + CardsPerPage - 1) / CardsPerPage;
    return twoSided ? 2 * sheets : sheets;
}
