// File, input, question and message requesters behind one seam that tests answer in advance.
#pragma once

#include <QString>

#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace ui {

enum class RequesterKind { OpenFile, SaveFile, InputLine, YesNo, Message };

// The button Return chooses in a question; No where Yes would lose or replace the user's data.
enum class YesNoDefault { Yes, No };

// What a requester was asked, kept so tests can check what the user would have seen.
struct ShownRequester {
    RequesterKind kind;
    QString title;
    QString text;
    YesNoDefault preselected = YesNoDefault::Yes;
};

// A prepared answer: accepted with a text (file path, typed line) or cancelled / "no".
struct Answer {
    bool accepted = false;
    QString text;
    static Answer accept(const QString& text = {}) { return {true, text}; }
    static Answer cancel() { return {false, {}}; }
};

class Requesters {
public:
    // Filter in the "Description (*.ext)|*.ext|..." form the program's dialogs use.
    std::optional<QString> openFile(QWidget* parent, const QString& title, const QString& folder,
                                    const QString& filter);
    std::optional<QString> saveFile(QWidget* parent, const QString& title, const QString& folder,
                                    const QString& filter);
    std::optional<QString> inputLine(QWidget* parent, const QString& title, const QString& prompt,
                                     const QString& initial = {});
    bool yesNo(QWidget* parent, const QString& title, const QString& text,
               YesNoDefault preselected = YesNoDefault::Yes);
    void message(QWidget* parent, const QString& title, const QString& text);

    // Once scripted, no real dialog ever opens: prepared answers are used in order and a
    // requester without one is cancelled (and counted, so a test can fail on it).
    void setScripted(bool scripted) { scripted_ = scripted; }
    bool scripted() const { return scripted_; }
    void answerNext(const Answer& answer);
    const std::vector<ShownRequester>& shown() const { return shown_; }
    int unanswered() const { return unanswered_; }

private:
    std::optional<QString> chooseFile(RequesterKind kind, QWidget* parent, const QString& title,
                                      const QString& folder, const QString& filter);
    std::optional<Answer> takeScripted(RequesterKind kind, const QString& title,
                                       const QString& text);

    bool scripted_ = false;
    std::deque<Answer> answers_;
    std::vector<ShownRequester> shown_;
    int unanswered_ = 0;
};

// "Kanjiset (*.rki)|*.rki" → "Kanjiset (*.rki)", several pairs joined by ";;".
QString toQtFilter(const QString& filter);

}  // namespace ui
