// Reading back what the program printed: pages of a PDF and its text layer.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>

inline int pageCount(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

// The text layer, one entry per page, as poppler's pdftotext reads it; nullopt without the tool.
inline std::optional<QStringList> textPages(const QString& pdfPath) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        return std::nullopt;
    }
    QProcess process;
    process.start(tool,
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath, QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    // pdftotext ends every page with a form feed.
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) {
        pages.removeLast();
    }
    return pages;
}

// The whole text layer of a PDF; nullopt without the tool.
inline std::optional<QString> pdfText(const QString& pdfPath) {
    const std::optional<QStringList> pages = textPages(pdfPath);
    return pages ? std::optional<QString>(pages->join(u'\f')) : std::nullopt;
}
