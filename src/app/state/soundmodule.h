// What the sound module (src/modules/soundmodule.cpp, Qt Multimedia) hands out; loaded at the
// first sound, so that neither Qt Multimedia nor the sound server's libraries load with the
// program.
#pragma once

#include "app/state/sound.h"

#include <memory>

struct SoundModule {
    static constexpr const char* Library = "renkari_sound";
    static constexpr const char* Entry = "renkari_sound_module";
    static constexpr int Version = 1;

    int version;
    std::unique_ptr<SoundOutput> (*makeOutput)(const QString& noOutputText);
    std::unique_ptr<SoundInput> (*makeInput)(const QString& noInputText);
};
