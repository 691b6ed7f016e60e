// Fuzz target for the training choices reader: nothing may crash, and what it reads is written
// and read back unchanged.
#include "core/training/trainingchoices.h"

#include "fuzzinput.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    const auto choices = parseTrainingChoices(bytes);
    if (!choices) {
        return 0;
    }
    const QByteArray written = writeTrainingChoices(*choices);
    const auto back = parseTrainingChoices(written);
    require(back.has_value());
    require(writeTrainingChoices(*back) == written);
    return 0;
}
