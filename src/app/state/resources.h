// Fonts, control icons and the colours of the quota bands, loaded once at start-up.
#pragma once

#include "ui/fontconfiguration.h"
#include "ui/qttranslation.h"

#include <QColor>
#include <QFont>
#include <QImage>

#include <array>

// The button pictures, in the order their files are loaded.
enum class ControlIcon {
    Sound,
    First,
    Previous,
    Next,
    Last,
    Start,
    Stop,
    Pause,
    Wrong,
    Partly,
    Ok,
};
constexpr int ControlIconCount = static_cast<int>(ControlIcon::Ok) + 1;

struct Resources {
    ui::FontConfigurationLoad fontConfiguration;
    // Qt's dialogs speak the language of the program's texts.
    ui::QtTranslation qtTranslation;
    QFont kanjiFont;
    QFont genshiFont;
    // Kana and kanji in fields and lists, beside text in the interface font: at its size a
    // dakuten (ジ against シ) could hardly be told.
    QFont kanaFont;
    QFont listKanjiFont;
    // Kanji beside their German meanings in a list.
    QFont listTextFont;
    std::array<QImage, ControlIconCount> controlIcons;
    // Row colours of the six quota bands, from worst to best.
    std::array<QColor, 6> quoteColours;

    const QImage& icon(ControlIcon which) const { return controlIcons[static_cast<size_t>(which)]; }
};
