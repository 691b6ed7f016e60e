// Grading of a typed meaning: German spelling variants and articles folded before the word rule.
#include "core/training/meaningcheck.h"

#include "core/training/answercheck.h"

#include <QRegularExpression>

namespace {

// Lower case, composed, with umlauts and ß spelled out, so either spelling meets the other.
QString foldGerman(const QString& text) {
    QString folded = text.normalized(QString::NormalizationForm_C).toLower();
    folded.replace(u'ä', u"ae"_qs);
    folded.replace(u'ö', u"oe"_qs);
    folded.replace(u'ü', u"ue"_qs);
    folded.replace(u'ß', u"ss"_qs);
    folded.replace(QChar(0x1E9E), u"ss"_qs);  // capital ß, should toLower have kept it
    return folded;
}

QString withoutLeadingArticles(const QString& folded) {
    static const QRegularExpression article(
        u"(^|[,;/])(\\s*)(?:der|die|das|eine|ein|to|the|a)\\s+(?=\\p{L})"_qs);
    QString answer = folded;
    answer.replace(article, u"\\1\\2"_qs);
    return answer;
}

}  // namespace

Grade compareMeaning(const QString& reference, const QString& typed) {
    if (typed.isEmpty()) {
        return compareAnswer(reference, typed);
    }
    return compareAnswer(foldGerman(reference), withoutLeadingArticles(foldGerman(typed)));
}
