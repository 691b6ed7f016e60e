// Romaji typed for a kana reading. Rather than turning the romaji into one kana text, the
// romaji is matched against the reading: romaji is ambiguous ("nn" is ん for an input method but
// ん + n- in Hepburn's "konnichi", "ō" is おう or おお), and the reading tells which one was meant.
#include "core/training/romaji.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Marks prepareRomaji writes after the vowel of a long vowel; upper case never reaches here
// otherwise because the answer is lower case.
constexpr char32_t kLongA = U'A';
constexpr char32_t kLongI = U'I';
constexpr char32_t kLongU = U'U';
constexpr char32_t kLongE = U'E';
constexpr char32_t kLongO = U'O';

struct Syllable {
    const char* romaji;
    const char16_t* kana;
    const char16_t* alternative = nullptr;
};

// Every spelling of one syllable (or small kana); the rules for ん and っ live in forEachUnit.
constexpr Syllable kSyllables[] = {
    {"a", u"あ"},
    {"i", u"い"},
    {"u", u"う"},
    {"e", u"え"},
    {"o", u"お"},
    {"ka", u"か"},
    {"ki", u"き"},
    {"ku", u"く"},
    {"ke", u"け"},
    {"ko", u"こ"},
    {"kya", u"きゃ"},
    {"kyu", u"きゅ"},
    {"kyo", u"きょ"},
    {"kwa", u"くゎ", u"くぁ"},
    {"ga", u"が"},
    {"gi", u"ぎ"},
    {"gu", u"ぐ"},
    {"ge", u"げ"},
    {"go", u"ご"},
    {"gya", u"ぎゃ"},
    {"gyu", u"ぎゅ"},
    {"gyo", u"ぎょ"},
    {"gwa", u"ぐゎ", u"ぐぁ"},
    {"sa", u"さ"},
    {"si", u"し"},
    {"shi", u"し"},
    {"su", u"す"},
    {"se", u"せ"},
    {"so", u"そ"},
    {"sha", u"しゃ"},
    {"shu", u"しゅ"},
    {"she", u"しぇ"},
    {"sho", u"しょ"},
    {"sya", u"しゃ"},
    {"syu", u"しゅ"},
    {"sye", u"しぇ"},
    {"syo", u"しょ"},
    // Hepburn and Kunrei write ぢ and づ like じ and ず.
    {"za", u"ざ"},
    {"zi", u"じ", u"ぢ"},
    {"ji", u"じ", u"ぢ"},
    {"zu", u"ず", u"づ"},
    {"ze", u"ぜ"},
    {"zo", u"ぞ"},
    {"ja", u"じゃ", u"ぢゃ"},
    {"ju", u"じゅ", u"ぢゅ"},
    {"je", u"じぇ"},
    {"jo", u"じょ", u"ぢょ"},
    {"zya", u"じゃ", u"ぢゃ"},
    {"zyu", u"じゅ", u"ぢゅ"},
    {"zye", u"じぇ"},
    {"zyo", u"じょ", u"ぢょ"},
    {"jya", u"じゃ"},
    {"jyu", u"じゅ"},
    {"jye", u"じぇ"},
    {"jyo", u"じょ"},
    {"ta", u"た"},
    {"ti", u"ち"},
    {"chi", u"ち"},
    {"tu", u"つ"},
    {"tsu", u"つ"},
    {"te", u"て"},
    {"to", u"と"},
    {"cha", u"ちゃ"},
    {"chu", u"ちゅ"},
    {"che", u"ちぇ"},
    {"cho", u"ちょ"},
    {"tya", u"ちゃ"},
    {"tyu", u"ちゅ"},
    {"tye", u"ちぇ"},
    {"tyo", u"ちょ"},
    {"cya", u"ちゃ"},
    {"cyu", u"ちゅ"},
    {"cye", u"ちぇ"},
    {"cyo", u"ちょ"},
    {"tsa", u"つぁ"},
    {"tsi", u"つぃ"},
    {"tse", u"つぇ"},
    {"tso", u"つぉ"},
    {"da", u"だ"},
    {"di", u"ぢ"},
    {"dji", u"ぢ"},
    {"du", u"づ"},
    {"dzu", u"づ"},
    {"de", u"で"},
    {"do", u"ど"},
    {"dya", u"ぢゃ"},
    {"dyu", u"ぢゅ"},
    {"dyo", u"ぢょ"},
    {"na", u"な"},
    {"ni", u"に"},
    {"nu", u"ぬ"},
    {"ne", u"ね"},
    {"no", u"の"},
    {"nya", u"にゃ"},
    {"nyu", u"にゅ"},
    {"nyo", u"にょ"},
    {"nn", u"ん"},
    {"n'", u"ん"},
    {"ha", u"は"},
    {"hi", u"ひ"},
    {"hu", u"ふ"},
    {"fu", u"ふ"},
    {"he", u"へ"},
    {"ho", u"ほ"},
    {"hya", u"ひゃ"},
    {"hyu", u"ひゅ"},
    {"hyo", u"ひょ"},
    {"fa", u"ふぁ"},
    {"fi", u"ふぃ"},
    {"fe", u"ふぇ"},
    {"fo", u"ふぉ"},
    {"fyu", u"ふゅ"},
    {"ba", u"ば"},
    {"bi", u"び"},
    {"bu", u"ぶ"},
    {"be", u"べ"},
    {"bo", u"ぼ"},
    {"bya", u"びゃ"},
    {"byu", u"びゅ"},
    {"byo", u"びょ"},
    {"pa", u"ぱ"},
    {"pi", u"ぴ"},
    {"pu", u"ぷ"},
    {"pe", u"ぺ"},
    {"po", u"ぽ"},
    {"pya", u"ぴゃ"},
    {"pyu", u"ぴゅ"},
    {"pyo", u"ぴょ"},
    {"ma", u"ま"},
    {"mi", u"み"},
    {"mu", u"む"},
    {"me", u"め"},
    {"mo", u"も"},
    {"mya", u"みゃ"},
    {"myu", u"みゅ"},
    {"myo", u"みょ"},
    {"ya", u"や"},
    {"yu", u"ゆ"},
    {"ye", u"いぇ"},
    {"yo", u"よ"},
    {"ra", u"ら"},
    {"ri", u"り"},
    {"ru", u"る"},
    {"re", u"れ"},
    {"ro", u"ろ"},
    {"rya", u"りゃ"},
    {"ryu", u"りゅ"},
    {"ryo", u"りょ"},
    {"wa", u"わ"},
    {"wi", u"ゐ", u"うぃ"},
    {"we", u"ゑ", u"うぇ"},
    {"wo", u"を"},
    {"va", u"ゔぁ"},
    {"vi", u"ゔぃ"},
    {"vu", u"ゔ"},
    {"ve", u"ゔぇ"},
    {"vo", u"ゔぉ"},
    // Small kana as input methods type them.
    {"xa", u"ぁ"},
    {"la", u"ぁ"},
    {"xi", u"ぃ"},
    {"li", u"ぃ"},
    {"xu", u"ぅ"},
    {"lu", u"ぅ"},
    {"xe", u"ぇ"},
    {"le", u"ぇ"},
    {"xo", u"ぉ"},
    {"lo", u"ぉ"},
    {"xya", u"ゃ"},
    {"lya", u"ゃ"},
    {"xyu", u"ゅ"},
    {"lyu", u"ゅ"},
    {"xyo", u"ょ"},
    {"lyo", u"ょ"},
    {"xtu", u"っ"},
    {"ltu", u"っ"},
    {"xtsu", u"っ"},
    {"ltsu", u"っ"},
    {"xwa", u"ゎ"},
    {"lwa", u"ゎ"},
    {"xka", u"ゕ"},
    {"lka", u"ゕ"},
    {"xke", u"ゖ"},
    {"lke", u"ゖ"},
    // The second half of a long vowel: Hepburn's ō stands for おう as well as おお, ē for えい
    // as well as ええ.
    {"A", u"あ"},
    {"I", u"い"},
    {"U", u"う"},
    {"E", u"い", u"え"},
    {"O", u"う", u"お"},
};

constexpr std::size_t kLongestSyllable = 4;

// A reading longer than this is never spelt in romaji; the bound keeps the work of a hostile
// set file small (the matching table grows with romaji length times reading length).
constexpr std::size_t kLongestReading = 256;

struct Entry {
    std::uint32_t key;
    std::u16string_view kana;
    std::u16string_view alternative;
};

// Up to four ASCII characters in one number, the first in the lowest byte.
constexpr std::uint32_t packKey(std::u32string_view text) {
    std::uint32_t key = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        key |= std::uint32_t(text[i]) << (8 * i);
    }
    return key;
}

const std::vector<Entry>& syllableTable() {
    static const std::vector<Entry> table = [] {
        std::vector<Entry> entries;
        for (const Syllable& syllable : kSyllables) {
            std::uint32_t key = 0;
            for (std::size_t i = 0; syllable.romaji[i] != '\0'; ++i) {
                key |= std::uint32_t(std::uint8_t(syllable.romaji[i])) << (8 * i);
            }
            entries.push_back({key, syllable.kana,
                               syllable.alternative ? std::u16string_view(syllable.alternative)
                                                    : std::u16string_view()});
        }
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.key < b.key; });
        return entries;
    }();
    return table;
}

bool isVowel(char32_t c) {
    return c == U'a' || c == U'i' || c == U'u' || c == U'e' || c == U'o';
}

bool isLowerAscii(char32_t c) {
    return c >= U'a' && c <= U'z';
}

char32_t longMarkOf(char32_t vowel) {
    switch (vowel) {
        case U'a':
            return kLongA;
        case U'i':
            return kLongI;
        case U'u':
            return kLongU;
        case U'e':
            return kLongE;
        default:
            return kLongO;
    }
}

// The plain vowel of a precomposed long vowel, or 0.
char32_t vowelOfLong(char32_t c) {
    switch (c) {
        case U'ā':
        case U'â':
            return U'a';
        case U'ī':
        case U'î':
            return U'i';
        case U'ū':
        case U'û':
            return U'u';
        case U'ē':
        case U'ê':
            return U'e';
        case U'ō':
        case U'ô':
            return U'o';
        default:
            return 0;
    }
}

constexpr char32_t kCombiningCircumflex = 0x0302;
constexpr char32_t kCombiningMacron = 0x0304;

// Calls visit(romaji length, kana) for every way the romaji at `at` can begin.
template <typename Visit>
void forEachUnit(std::u32string_view romaji, std::size_t at, Visit&& visit) {
    const std::vector<Entry>& table = syllableTable();
    const std::size_t longest = std::min(kLongestSyllable, romaji.size() - at);
    for (std::size_t length = 1; length <= longest; ++length) {
        const std::uint32_t key = packKey(romaji.substr(at, length));
        const auto found =
            std::lower_bound(table.begin(), table.end(), key,
                             [](const Entry& entry, std::uint32_t k) { return entry.key < k; });
        if (found != table.end() && found->key == key) {
            visit(length, found->kana);
            if (!found->alternative.empty()) {
                visit(length, found->alternative);
            }
        }
    }
    const char32_t c = romaji[at];
    const char32_t next = at + 1 < romaji.size() ? romaji[at + 1] : 0;
    // ん as Hepburn writes it: "n" at the end or before a consonant ("shinbun", "konnichi"),
    // "m" before b, p and m ("shimbun").
    if (c == U'n' && (next == 0 || (isLowerAscii(next) && !isVowel(next) && next != U'y'))) {
        visit(1, std::u16string_view(u"ん"));
    }
    if (c == U'm' && (next == U'b' || next == U'p' || next == U'm')) {
        visit(1, std::u16string_view(u"ん"));
    }
    // っ: a doubled consonant ("gakkou") and the t of "tch" ("matchi").
    if (isLowerAscii(c) && !isVowel(c) && c != U'n' &&
        (next == c ||
         (c == U't' && next == U'c' && at + 2 < romaji.size() && romaji[at + 2] == U'h'))) {
        visit(1, std::u16string_view(u"っ"));
    }
}

bool spellsAt(std::u32string_view hiragana, std::size_t at, std::u16string_view kana) {
    if (kana.size() > hiragana.size() - at) {
        return false;
    }
    for (std::size_t i = 0; i < kana.size(); ++i) {
        if (hiragana[at + i] != char32_t(kana[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool prepareRomaji(std::u32string_view word, std::u32string& out) {
    const std::size_t start = out.size();
    for (const char32_t c : word) {
        if (c == U'-') {
            continue;
        }
        if (isLowerAscii(c) || c == U'\'') {
            out.push_back(c);
        } else if (const char32_t vowel = vowelOfLong(c)) {
            out.push_back(vowel);
            out.push_back(longMarkOf(vowel));
        } else if ((c == kCombiningMacron || c == kCombiningCircumflex) && out.size() > start &&
                   isVowel(out.back())) {
            out.push_back(longMarkOf(out.back()));
        } else {
            out.resize(start);
            return false;
        }
    }
    return out.size() > start;
}

bool romajiSpells(std::u32string_view prepared, std::u32string_view hiragana) {
    // Every unit reads one to four romaji characters as one or two kana, never more kana than
    // characters: outside these bounds no reading can fit.
    const std::size_t romajiLength = prepared.size();
    const std::size_t kanaLength = hiragana.size();
    if (kanaLength == 0 || kanaLength > kLongestReading || kanaLength > romajiLength ||
        romajiLength > kLongestSyllable * kanaLength) {
        return false;
    }
    // reached[r * width + k]: the first r romaji characters can spell the first k kana.
    const std::size_t width = kanaLength + 1;
    const std::size_t cells = (romajiLength + 1) * width;
    std::array<std::uint8_t, 512> small;
    std::vector<std::uint8_t> large;
    std::uint8_t* reached = small.data();
    if (cells > small.size()) {
        large.resize(cells);
        reached = large.data();
    }
    std::memset(reached, 0, cells);
    reached[0] = 1;
    std::size_t furthest = 0;
    for (std::size_t r = 0; r < romajiLength && r <= furthest; ++r) {
        const std::uint8_t* row = reached + r * width;
        for (std::size_t k = 0; k < kanaLength; ++k) {
            if (!row[k]) {
                continue;
            }
            forEachUnit(prepared, r, [&](std::size_t length, std::u16string_view kana) {
                if (spellsAt(hiragana, k, kana)) {
                    reached[(r + length) * width + k + kana.size()] = 1;
                    furthest = std::max(furthest, r + length);
                }
            });
        }
    }
    return reached[romajiLength * width + kanaLength] != 0;
}
