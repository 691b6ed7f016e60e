// Qt's own dialogs and buttons (the file dialog, "Ja"/"Nein") in the language of the program's
// texts.
#pragma once

#include <QString>

#include <memory>

class QTranslator;

namespace ui {

// The code of the language a catalog is named after, in English or in the language itself
// ("German", "Deutsch", "Français" give "de", "de", "fr"); empty when no language has that name.
QString languageCodeOf(const QString& catalogName);

class QtTranslation {
public:
    QtTranslation();
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    // Puts Qt's translation for the language code in place of the one in use; none for an empty
    // code, English, or a language Qt has no translation for. True when one is in use.
    bool use(const QString& code);

private:
    std::unique_ptr<QTranslator> translator_;
};

}  // namespace ui
