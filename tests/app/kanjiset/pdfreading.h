// Reading back what the program printed: pages of a PDF, its text layer and where its words lie.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

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

// A word of the text layer and where it lies, in millimetres from the page's top left.
struct PdfWord {
    QString text;
    QRectF box;
};

// The words of each page as poppler's pdftotext finds them; nullopt without the tool.
inline std::optional<std::vector<std::vector<PdfWord>>> wordPages(const QString& pdfPath) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        return std::nullopt;
    }
    QProcess process;
    process.start(tool, {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\""));
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<std::vector<PdfWord>> pages;
    double mmPerPoint = 0;
    for (const QString& line : html.split(u'\n')) {
        if (const QRegularExpressionMatch m = page.match(line); m.hasMatch()) {
            // A4 is 210 mm wide, however a writer rounds it in points.
            mmPerPoint = 210.0 / m.captured(1).toDouble();
            pages.emplace_back();
        } else if (const QRegularExpressionMatch w = word.match(line); w.hasMatch()) {
            if (pages.empty()) {
                ADD_FAILURE() << "a word before the first page";
                continue;
            }
            const auto at = [&w, mmPerPoint](int i) {
                return w.captured(i).toDouble() * mmPerPoint;
            };
            QString text = w.captured(5);
            text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            pages.back().push_back({text, QRectF(QPointF(at(1), at(2)), QPointF(at(3), at(4)))});
        }
    }
    return pages;
}
