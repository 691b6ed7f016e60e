// Qt's own dialogs and buttons in the language of the program's texts.
#include "ui/qttranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

QString languageCodeOf(const QString& catalogName) {
    const QString name = catalogName.trimmed();
    if (name.isEmpty()) {
        return {};
    }
    for (int value = QLocale::Abkhazian; value <= QLocale::LastLanguage; ++value) {
        const auto language = static_cast<QLocale::Language>(value);
        const QLocale locale(language);
        if (locale.language() != language) {
            continue;
        }
        if (QLocale::languageToString(language).compare(name, Qt::CaseInsensitive) == 0 ||
            locale.nativeLanguageName().compare(name, Qt::CaseInsensitive) == 0) {
            return locale.name().section(QLatin1Char('_'), 0, 0);
        }
    }
    return {};
}

QtTranslation::QtTranslation() = default;

QtTranslation::~QtTranslation() {
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
    }
}

bool QtTranslation::use(const QString& code) {
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    // Qt speaks English without a translation.
    if (code.isEmpty() || code == QLatin1String("en")) {
        return false;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + code,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
    return true;
}

}  // namespace ui
