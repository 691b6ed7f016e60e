// File, input, question and message requesters behind one seam that tests answer in advance.
#include "ui/requesters.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace ui {

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList qtFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        qtFilters << (description.contains(QLatin1Char('('))
                          ? description
                          : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    if (qtFilters.isEmpty() && !filter.isEmpty()) {
        qtFilters << filter;
    }
    return qtFilters.join(QStringLiteral(";;"));
}

void Requesters::answerNext(const Answer& answer) {
    scripted_ = true;
    answers_.push_back(answer);
}

std::optional<Answer> Requesters::takeScripted(RequesterKind kind, const QString& title,
                                               const QString& text) {
    shown_.push_back({kind, title, text});
    if (!scripted_) {
        return std::nullopt;
    }
    if (answers_.empty()) {
        ++unanswered_;
        return Answer::cancel();
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

namespace {

std::optional<QString> textOf(const Answer& answer) {
    return answer.accepted ? std::optional(answer.text) : std::nullopt;
}

}  // namespace

std::optional<QString> Requesters::chooseFile(RequesterKind kind, QWidget* parent,
                                              const QString& title, const QString& folder,
                                              const QString& filter) {
    if (auto answer = takeScripted(kind, title, folder)) {
        return textOf(*answer);
    }
    const QString path =
        kind == RequesterKind::OpenFile
            ? QFileDialog::getOpenFileName(parent, title, folder, toQtFilter(filter))
            : QFileDialog::getSaveFileName(parent, title, folder, toQtFilter(filter));
    return path.isEmpty() ? std::nullopt : std::optional(path);
}

std::optional<QString> Requesters::openFile(QWidget* parent, const QString& title,
                                            const QString& folder, const QString& filter) {
    return chooseFile(RequesterKind::OpenFile, parent, title, folder, filter);
}

std::optional<QString> Requesters::saveFile(QWidget* parent, const QString& title,
                                            const QString& folder, const QString& filter) {
    return chooseFile(RequesterKind::SaveFile, parent, title, folder, filter);
}

std::optional<QString> Requesters::inputLine(QWidget* parent, const QString& title,
                                             const QString& prompt, const QString& initial) {
    if (auto answer = takeScripted(RequesterKind::InputLine, title, prompt)) {
        return textOf(*answer);
    }
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional(text) : std::nullopt;
}

bool Requesters::yesNo(QWidget* parent, const QString& title, const QString& text,
                       YesNoDefault preselected) {
    if (auto answer = takeScripted(RequesterKind::YesNo, title, text)) {
        shown_.back().preselected = preselected;
        return answer->accepted;
    }
    return QMessageBox::question(
               parent, title, text, QMessageBox::Yes | QMessageBox::No,
               preselected == YesNoDefault::Yes ? QMessageBox::Yes : QMessageBox::No) ==
           QMessageBox::Yes;
}

void Requesters::message(QWidget* parent, const QString& title, const QString& text) {
    // A message needs no answer: in scripted runs it is only recorded.
    shown_.push_back({RequesterKind::Message, title, text});
    if (scripted_) {
        return;
    }
    QMessageBox::information(parent, title, text);
}

}  // namespace ui
