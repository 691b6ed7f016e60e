#include "ui/fontconfiguration.h"

#include <fontconfig/fontconfig.h>

namespace ui {

FontConfigurationLoad FontConfigurationLoad::start() {
    FontConfigurationLoad load;
    // Where no thread can be started, waiting reads the configuration, as Qt would have.
    load.loaded_ = std::async(std::launch::async | std::launch::deferred, [] { FcInit(); }).share();
    return load;
}

void FontConfigurationLoad::wait() const {
    if (loaded_.valid()) {
        loaded_.wait();
    }
}

}  // namespace ui
