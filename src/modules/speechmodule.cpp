// espeak-ng in synchronous mode: it hands the samples to a callback instead of a sound device.
// A module of its own (see core/kanjiset/speechmodule.h); it links espeak-ng and Qt Core only.
#include "core/kanjiset/speechmodule.h"

#include <espeak-ng/espeak_ng.h>

#include <mutex>

namespace {

QString statusText(espeak_ng_STATUS status) {
    char message[512] = {};
    espeak_ng_GetStatusCodeMessage(status, message, sizeof message);
    return QString::fromLocal8Bit(message);
}

int collectSamples(short* wav, int count, espeak_EVENT* events) {
    auto* target =
        static_cast<std::vector<qint16>*>(events != nullptr ? events->user_data : nullptr);
    if (target != nullptr && wav != nullptr && count > 0) {
        target->insert(target->end(), wav, wav + count);
    }
    return 0;
}

// espeak-ng keeps one engine per process: it is set up once, and only one text is spoken at a
// time. The engine's own state is the library's; this only remembers how setting it up went.
struct Engine {
    std::mutex lock;
    bool tried = false;
    QString failure;
    int sampleRate = 0;

    bool ready() {
        if (tried) {
            return failure.isEmpty();
        }
        tried = true;
        espeak_ng_InitializePath(nullptr);
        espeak_ng_ERROR_CONTEXT context = nullptr;
        espeak_ng_STATUS status = espeak_ng_Initialize(&context);
        if (status == ENS_OK) {
            status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
        }
        if (status == ENS_OK) {
            status = espeak_ng_SetVoiceByName("ja");
        }
        espeak_ng_ClearErrorContext(&context);
        if (status != ENS_OK) {
            failure = statusText(status);
            return false;
        }
        espeak_SetSynthCallback(collectSamples);
        sampleRate = espeak_ng_GetSampleRate();
        return true;
    }
};

Engine& engine() {
    static Engine instance;
    return instance;
}

Expected<SpeechSamples, QString> synthesize(const QString& kana) {
    Engine& e = engine();
    const std::lock_guard guard(e.lock);
    if (!e.ready()) {
        return unexpected(e.failure);
    }
    SpeechSamples speech;
    speech.sampleRate = e.sampleRate;
    if (kana.trimmed().isEmpty()) {
        return speech;
    }
    const QByteArray text = kana.toUtf8();
    const espeak_ng_STATUS status =
        espeak_ng_Synthesize(text.constData(), static_cast<size_t>(text.size()) + 1, 0,
                             POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, &speech.samples);
    if (status != ENS_OK) {
        return unexpected(statusText(status));
    }
    return speech;
}

const SpeechModule Table{SpeechModule::Version, synthesize};

}  // namespace

extern "C" Q_DECL_EXPORT const SpeechModule* renkari_speech_module() {
    return &Table;
}
