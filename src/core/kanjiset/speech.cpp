// The voice lives in a module of its own: see speechmodule.h.
#include "core/kanjiset/speech.h"

#include "base/modulelibrary.h"
#include "core/kanjiset/speechmodule.h"

Expected<SpeechSamples, QString> synthesizeSpeech(const QString& kana) {
    const Expected<const SpeechModule*, QString> module = moduleTable<SpeechModule>();
    if (!module) {
        return unexpected(module.error());
    }
    return (*module)->synthesize(kana);
}
