// Fuzz target for the training choices reader: nothing may crash, and what it reads is written
// and read back unchanged.
#include "core/training/trainingchoices.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
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
