// A fixture for tests that need zinnia with the Japanese model that scripts/setup installs.
#pragma once

#include "core/handwriting/kanjirecognizer.h"

#include <gtest/gtest.h>

#include <optional>

class RecognizerTest : public ::testing::Test {
protected:
    void SetUp() override {
        FileResult<KanjiRecognizer> opened =
            KanjiRecognizer::open(KanjiRecognizer::defaultModelPath());
        ASSERT_TRUE(opened.has_value()) << opened.error().systemText.toStdString();
        recognizer.emplace(std::move(opened).value());
    }

    std::optional<KanjiRecognizer> recognizer;
};
