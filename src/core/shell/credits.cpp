// The credits text of the About box.
#include "core/shell/credits.h"

namespace {

constexpr int CreditsColumn = 75;

}  // namespace

QString alignCredits(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text +=
            QString(std::max(0, CreditsColumn - static_cast<int>(line.size())), QLatin1Char(' '));
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

QString creditsText() {
    return alignCredits({
        QStringLiteral("Dieses Programm wurde"),
        QStringLiteral("2026 von den Renkari-Entwicklern geschrieben"),
        QStringLiteral("und ist freie Software unter der GNU GPL 3.0 oder neuer."),
        QStringLiteral(" "),
        QStringLiteral("Entwickelt in C++ mit Qt 6 (LGPL 3), Expat (MIT-Lizenz), libpng,"),
        QStringLiteral("zlib, zinnia (BSD) mit dem Tegaki-Modell (LGPL 2.1), espeak-ng (GPL 3+)"),
        QStringLiteral("Qt ist eine Marke der The Qt Company Ltd."),
        QStringLiteral("https://www.qt.io"),
        QStringLiteral(" "),
        QStringLiteral("Strichfolgen und Kanji-Daten stehen unter Creative-Commons-Lizenzen:"),
        QStringLiteral("1. Strichfolgen: KanjiVG, https://kanjivg.tagaini.net"),
        QStringLiteral("2. Lizenz: CC BY-SA 3.0, © Ulrich Apel und die KanjiVG-Mitwirkenden"),
        QStringLiteral("3. Kanji-Daten: KANJIDIC2, Electronic Dictionary Research"),
        QStringLiteral("and Development Group (EDRDG), CC BY-SA 4.0"),
        QStringLiteral("4. Beispielwörter: EDICT, EDRDG, CC BY-SA 3.0,"),
        QStringLiteral("https://www.edrdg.org/edrdg/licence.html"),
        QStringLiteral("5. Deutsche Bedeutungen: FreeDict Japanisch–Deutsch (aus JMdict,"),
        QStringLiteral("EDRDG, und WaDokuJT, Ulrich Apel), CC BY-SA 3.0, https://freedict.org"),
        QStringLiteral(" "),
        QStringLiteral("Credits go to..."),
        QStringLiteral("Schriften: IPAMincho (IPA Font License), DejaVu (freie Lizenz)"),
        QStringLiteral(" "),
    });
}
