// The system's font configuration, read on a thread of its own from the program's first moment.
#pragma once

#include <future>

namespace ui {

// Reading the font configuration, some fifty files, is the longest single step before a window
// can measure its first caption. Started before the application object exists, it runs while
// that and everything up to the first window are prepared. Whoever needs fonts first waits for
// it, so the configuration is never read twice at once. Copies wait for the same reading, one
// for each thread that draws text.
class FontConfigurationLoad {
public:
    static FontConfigurationLoad start();
    // Returns once the configuration is read; at once when it was never started.
    void wait() const;

private:
    std::shared_future<void> loaded_;
};

}  // namespace ui
