// Renders every window and page offscreen with the fonts this system has and measures each
// caption against the control that shows it: nothing may be cut off, and no control may reach
// beyond the page it sits on.
#include "app/kanjiset/cardview.h"
#include "app/kanjiset/exportdialog.h"
#include "app/kanjiset/genshiwindow.h"
#include "app/review/forecastwindow.h"
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "app/training/selectiondialog.h"
#include "base/files.h"
#include "core/training/profilerecord.h"
#include "ui/tablelist.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSet>
#include <QSpinBox>
#include <QStringDecoder>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextDocument>
#include <QTreeView>

#include <string>
#include <string_view>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString ShotFolder = QStringLiteral(RENKARI_BINARY_DIR "/screenshots/");

// What the user reads: a single "&" marks the mnemonic and is not drawn.
QString drawnText(const QString& caption) {
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) {
            ++i;
        }
        text += caption[i];
    }
    return text;
}

int widestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(u'\n')) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

// Collects every caption that does not fit, naming the window, the control and the text.
class CaptionCheck {
public:
    void check(QWidget* top, const QString& window) {
        window_ = window;
        std::vector<QWidget*> widgets{top};
        for (QWidget* child : top->findChildren<QWidget*>()) {
            widgets.push_back(child);
        }
        for (QWidget* widget : widgets) {
            if (widget != top && insideCompound(widget, top)) {
                continue;
            }
            checkPlace(widget, top);
            checkOverlap(widget, top);
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                checkLabel(label);
            } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
                checkIndicated(box, QStyle::SE_CheckBoxContents);
            } else if (auto* option = qobject_cast<QRadioButton*>(widget)) {
                checkIndicated(option, QStyle::SE_RadioButtonContents);
            } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
                checkButton(button);
            } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
                checkGroupTitle(frame);
            } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
                checkFieldHeight(field);
            } else if (auto* choice = qobject_cast<QComboBox*>(widget)) {
                checkChoice(choice);
            } else if (auto* table = qobject_cast<QTableView*>(widget)) {
                checkHeader(table, table->horizontalHeader());
                checkCells(table, table->horizontalHeader());
            } else if (auto* tree = qobject_cast<QTreeView*>(widget)) {
                checkHeader(tree, tree->header());
                checkCells(tree, tree->header());
            }
        }
    }

    const std::vector<std::string>& faults() const { return faults_; }
    std::string report() const {
        std::string all;
        for (const std::string& fault : faults_) {
            all += "\n  " + fault;
        }
        return all;
    }

private:
    // Parts of Qt's own compound widgets (a spin box's field, a list's header and scroll bars)
    // are measured through the widget they belong to.
    static bool insideCompound(const QWidget* widget, const QWidget* top) {
        for (const QWidget* above = widget->parentWidget(); above != nullptr && above != top;
             above = above->parentWidget()) {
            if (qobject_cast<const QAbstractSpinBox*>(above) != nullptr ||
                qobject_cast<const QComboBox*>(above) != nullptr ||
                qobject_cast<const QAbstractScrollArea*>(above) != nullptr ||
                qobject_cast<const QTabBar*>(above) != nullptr ||
                qobject_cast<const QLineEdit*>(above) != nullptr) {
                return true;
            }
        }
        return false;
    }

    static QString nameOf(const QWidget* widget) {
        return widget->objectName().isEmpty()
                   ? QString::fromLatin1(widget->metaObject()->className())
                   : widget->objectName();
    }

    // A fault of a control the window shows on every page is told once, for the first.
    void fault(const QWidget* widget, const QString& text, const QString& what) {
        const QString found = nameOf(widget) + u" \""_s + text + u"\" "_s + what;
        if (seen_.contains(found)) {
            return;
        }
        seen_.insert(found);
        faults_.push_back((window_ + u": "_s + found).toStdString());
    }

    void tooWide(const QWidget* widget, const QString& text, int needed, int room) {
        if (needed > room) {
            fault(widget, text, u"needs %1 px, has %2"_s.arg(needed).arg(room));
        }
    }

    void tooHigh(const QWidget* widget, const QString& text, int needed, int room) {
        if (needed > room) {
            fault(widget, text, u"needs %1 px high, has %2"_s.arg(needed).arg(room));
        }
    }

    // Only pages, containers and frames place their controls by hand; a control reaching past
    // such a parent's edge is cut off there.
    void checkPlace(const QWidget* widget, const QWidget* top) {
        const QWidget* parent = widget->parentWidget();
        if (widget == top || parent == nullptr || widget->isWindow()) {
            return;
        }
        const QByteArray kind = parent->metaObject()->className();
        if (kind != "QWidget" && kind != "QGroupBox" && kind != "ui::TabPanel") {
            return;
        }
        if (!parent->rect().contains(widget->geometry())) {
            const QRect g = widget->geometry();
            fault(widget, QString(),
                  u"lies at %1,%2 %3x%4, outside its parent of %5x%6"_s.arg(g.x())
                      .arg(g.y())
                      .arg(g.width())
                      .arg(g.height())
                      .arg(parent->width())
                      .arg(parent->height()));
        }
    }

    // Controls the user reads or uses, as opposed to frames and pictures drawn behind them.
    static bool isControl(const QWidget* widget) {
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            return std::string_view(widget->metaObject()->className()) == "QLabel" &&
                   !label->text().isEmpty();
        }
        return qobject_cast<const QAbstractButton*>(widget) != nullptr ||
               qobject_cast<const QLineEdit*>(widget) != nullptr ||
               qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
               qobject_cast<const QComboBox*>(widget) != nullptr ||
               qobject_cast<const QAbstractScrollArea*>(widget) != nullptr;
    }

    // Where a control draws, in its parent: a label or a box only as far as its text reaches,
    // as their rectangles may be wider than what they show.
    static QRect drawnRect(const QWidget* widget) {
        const QRect whole = widget->geometry();
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            const QSize text = label->fontMetrics().size(0, label->text());
            return QStyle::alignedRect(label->layoutDirection(), label->alignment(), text,
                                       label->contentsRect())
                .translated(whole.topLeft())
                .intersected(whole);
        }
        const auto* box = qobject_cast<const QAbstractButton*>(widget);
        if (box != nullptr && (qobject_cast<const QCheckBox*>(widget) != nullptr ||
                               qobject_cast<const QRadioButton*>(widget) != nullptr)) {
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = box->text();
            const bool check = qobject_cast<const QCheckBox*>(widget) != nullptr;
            const QRect contents = box->style()->subElementRect(
                check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, box);
            const int end =
                contents.left() + box->fontMetrics().horizontalAdvance(drawnText(box->text()));
            return QRect(whole.x(), whole.y(), std::min(end, whole.width()), whole.height());
        }
        return whole;
    }

    // Two controls shown at once in the same place hide part of each other.
    void checkOverlap(const QWidget* widget, const QWidget* top) {
        const QWidget* parent = widget->parentWidget();
        if (widget == top || parent == nullptr || !isControl(widget) || !widget->isVisibleTo(top)) {
            return;
        }
        for (const QObject* object : parent->children()) {
            const auto* other = qobject_cast<const QWidget*>(object);
            if (other == nullptr || other == widget || !isControl(other) ||
                !other->isVisibleTo(top) || !drawnRect(other).intersects(drawnRect(widget))) {
                continue;
            }
            // Each pair once.
            if (parent->children().indexOf(other) > parent->children().indexOf(widget)) {
                fault(widget, QString(), u"overlaps "_s + nameOf(other));
            }
        }
    }

    void checkLabel(const QLabel* label) {
        const QString text = label->text();
        if (text.isEmpty()) {
            return;
        }
        QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                    -label->margin(), -label->margin());
        // As QLabel lays its text out: a framed label without an indent of its own keeps half
        // an "x" from the edge it is aligned to.
        int indent = label->indent();
        if (indent < 0 && label->frameWidth() > 0) {
            indent = label->fontMetrics().horizontalAdvance(u'x') / 2;
        }
        if (indent > 0) {
            if (label->alignment() & Qt::AlignLeft) {
                room.setLeft(room.left() + indent);
            }
            if (label->alignment() & Qt::AlignRight) {
                room.setRight(room.right() - indent);
            }
        }
        const bool rich = label->textFormat() == Qt::RichText ||
                          (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
        if (rich || label->wordWrap()) {
            QTextDocument document;
            document.setDefaultFont(label->font());
            document.setDocumentMargin(0);
            if (rich) {
                document.setHtml(text);
            } else {
                document.setPlainText(text);
            }
            if (label->wordWrap()) {
                document.setTextWidth(room.width());
                tooHigh(label, text, qCeil(document.size().height()), room.height());
            }
            tooWide(label, text, qCeil(document.idealWidth()), room.width());
            return;
        }
        const QFontMetrics metrics = label->fontMetrics();
        const QString shown = label->buddy() != nullptr ? drawnText(text) : text;
        tooWide(label, text, widestLine(metrics, shown), room.width());
        const auto lines = static_cast<int>(shown.count(u'\n'));
        tooHigh(label, text, metrics.height() + lines * metrics.lineSpacing(), room.height());
    }

    // Check boxes and option buttons: the text goes right of the indicator and its spacing.
    void checkIndicated(QAbstractButton* button, QStyle::SubElement contents) {
        if (button->text().isEmpty()) {
            return;
        }
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room = button->style()->subElementRect(contents, &option, button);
        const QString shown = drawnText(button->text());
        tooWide(button, button->text(), button->fontMetrics().horizontalAdvance(shown),
                room.width());
        tooHigh(button, button->text(), button->fontMetrics().height(), button->height());
    }

    void checkButton(QPushButton* button) {
        if (button->text().isEmpty()) {
            return;
        }
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        if (button->isDefault()) {
            option.features |= QStyleOptionButton::DefaultButton;
        }
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const int icon = option.icon.isNull() ? 0 : option.iconSize.width() + 4;
        const QString shown = drawnText(button->text());
        tooWide(button, button->text(), button->fontMetrics().horizontalAdvance(shown) + icon,
                room.width());
        tooHigh(button, button->text(), button->fontMetrics().height(), room.height());
    }

    void checkGroupTitle(const QGroupBox* frame) {
        if (frame->title().isEmpty()) {
            return;
        }
        const QString shown = drawnText(frame->title());
        // Fusion starts the title a few pixels in from the frame's left edge.
        const QFontMetrics metrics = frame->fontMetrics();
        const int start = frame->style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, frame);
        tooWide(frame, frame->title(), start + metrics.horizontalAdvance(shown), frame->width());
    }

    // A field scrolls what is wider; but a line taller than the field is cut. Qt keeps a
    // pixel above and below the line inside the frame.
    void checkFieldHeight(QLineEdit* field) {
        QStyleOptionFrame option;
        option.initFrom(field);
        option.lineWidth =
            field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const QRect room = field->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, field)
                               .marginsRemoved(field->textMargins());
        tooHigh(field, field->text(), field->fontMetrics().height() + 2, room.height());
    }

    void checkChoice(QComboBox* choice) {
        QStyleOptionComboBox option;
        option.initFrom(choice);
        option.editable = choice->isEditable();
        option.frame = choice->hasFrame();
        option.subControls = QStyle::SC_All;
        const QRect room = choice->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, choice);
        for (int i = 0; i < choice->count(); ++i) {
            const QString text = choice->itemText(i);
            tooWide(choice, text, choice->fontMetrics().horizontalAdvance(text), room.width());
        }
    }

    void checkHeader(const QAbstractItemView* view, QHeaderView* header) {
        const QAbstractItemModel* model = view->model();
        if (header == nullptr || header->isHidden() || model == nullptr) {
            return;
        }
        for (int section = 0; section < header->count(); ++section) {
            if (header->isSectionHidden(section)) {
                continue;
            }
            QStyleOptionHeader option;
            option.initFrom(header);
            option.section = section;
            option.text = model->headerData(section, Qt::Horizontal).toString();
            option.fontMetrics = header->fontMetrics();
            if (option.text.isEmpty()) {
                continue;
            }
            const QSize needed =
                header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, {}, header);
            tooWide(header, option.text, needed.width(), header->sectionSize(section));
            tooHigh(header, option.text, needed.height(), header->height());
        }
    }

    // A cell's text is elided where its column is too narrow; the delegate tells the width it
    // needs with its font, check box and margins.
    void checkCells(const QAbstractItemView* view, const QHeaderView* header) {
        const QAbstractItemModel* model = view->model();
        if (model == nullptr || header == nullptr) {
            return;
        }
        QStyleOptionViewItem option;
        option.initFrom(view);
        option.font = view->font();
        option.fontMetrics = view->fontMetrics();
        option.decorationSize = view->iconSize();
        if (const auto* tree = qobject_cast<const QTreeView*>(view); tree && tree->wordWrap()) {
            checkWrappedCells(view, header, option);
            return;
        }
        for (int column = 0; column < model->columnCount(); ++column) {
            int widest = 0;
            QString widestText;
            for (int row = 0; row < model->rowCount(); ++row) {
                const QModelIndex index = model->index(row, column);
                const int needed =
                    view->itemDelegateForIndex(index)->sizeHint(option, index).width();
                if (needed > widest) {
                    widest = needed;
                    widestText = index.data().toString();
                }
            }
            tooWide(view, u"column %1: "_s.arg(column) + widestText, widest,
                    header->sectionSize(column));
        }
    }

    // Cells that go on in more lines: each row as tall as its cells' lines in their column.
    void checkWrappedCells(const QAbstractItemView* view, const QHeaderView* header,
                           QStyleOptionViewItem option) {
        option.features |= QStyleOptionViewItem::WrapText;
        const QAbstractItemModel* model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                option.rect = QRect(0, 0, header->sectionSize(column), 0);
                const QSize needed = view->itemDelegateForIndex(index)->sizeHint(option, index);
                tooWide(view, u"column %1: "_s.arg(column) + index.data().toString(),
                        needed.width(), header->sectionSize(column));
                if (needed.height() > view->visualRect(index).height()) {
                    fault(view, index.data().toString(),
                          u"needs %1 px of height, has %2"_s.arg(needed.height())
                              .arg(view->visualRect(index).height()));
                }
            }
        }
    }

    QString window_;
    std::vector<std::string> faults_;
    QSet<QString> seen_;
};

// The first kanji of JIS level 1, the common ones every Japanese font has, in its order.
std::vector<qint32> commonKanji(size_t count) {
    std::vector<qint32> codes;
    QStringDecoder shiftJis("Shift_JIS");
    for (int lead = 0x88; lead <= 0x98 && codes.size() < count; ++lead) {
        for (int trail = lead == 0x88 ? 0x9F : 0x40; trail <= 0xFC && codes.size() < count;
             ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const QString decoded = shiftJis.decode(QByteArrayView(bytes, 2));
            if (decoded.size() == 1 && decoded[0] >= u'\u4E00' && decoded[0] <= u'\u9FFF') {
                codes.push_back(decoded[0].unicode());
            }
        }
    }
    return codes;
}

// The old JLPT levels 4 to 1 hold 80, 167, 741 and 1208 kanji.
constexpr int JlptSizes[4] = {80, 167, 741, 1208};
const AnswerStats Trained{12, 3, 4, 63, 2, 0};

}  // namespace

class Captions : public AppFixture {
protected:
    void SetUp() override {
        // The shipped control icons and Genshi list, and a set as large as the four JLPT
        // levels with six kanji entered twice, for "Liste optimieren" to merge.
        copyShippedMedia(u"Controls"_s);
        copyShippedMedia(u"Genshi"_s);
        const std::vector<qint32> codes = commonKanji(2196);
        ASSERT_EQ(codes.size(), 2196u);
        std::vector<KanjiRecord> records;
        for (int level = 4; level >= 1; --level) {
            for (int i = 0; i < JlptSizes[4 - level]; ++i) {
                const qint32 code = codes[records.size()];
                KanjiRecord record = makeKanji(static_cast<qint32>(records.size()) + 1, code,
                                               u"ジ、ジョウ、ショウ"_s, level);
                record.KunYomi = u"しめ.す、ぎざ.む、ばば"_s;
                record.Bemerkung = u"Zeigen, hinweisen"_s;
                record.Beispiel = {u"指示 (しじ) Anweisung"_s, u"示談 (じだん) Vergleich"_s,
                                   QString(), QString()};
                record.Genshi = u"1,3,"_s;
                records.push_back(record);
            }
        }
        for (int i = 0; i < 6; ++i) {
            records.push_back(records[static_cast<size_t>(i)]);
        }
        writeSet(u"Demo"_s, records);
        writePreferences(u"Demo"_s);
        ASSERT_TRUE(QDir().mkpath(ShotFolder));
        start();
        app.ui.requesters().answerNext(ui::Answer::accept(u"Lerner"_s));
        chooseMenu(MenuCreateProfile);
        // The first kanji trained a while, so its counters fill the status bar.
        for (ProfileRecord& record : app.learner.profile().records) {
            if (record.Code == app.kanjiSet.records.front().Unicode) {
                record.KindKanji = record.KindOn = record.KindKun = record.KindMeaning = Trained;
            }
        }
        showKanji(app, 0);
    }

    void checkMain(const QString& page) {
        captions.check(window().top(), u"Hauptfenster/"_s + page);
    }

    // Opens a dialog, checks it once it waits for the user and closes it.
    void checkDialog(int windowId, const QString& name, const std::function<void()>& open,
                     const std::function<void(QWidget*)>& before = {}) {
        bool checked = false;
        {
            DialogDriver driver(app.ui, windowId, {[&](QWidget* dialog) {
                                    if (before) {
                                        before(dialog);
                                    }
                                    captions.check(dialog, name);
                                    checked = true;
                                    dialog->close();
                                }});
            open();
        }
        EXPECT_TRUE(checked) << name.toStdString() << " did not open";
        EXPECT_EQ(DialogDriver::openDialog(windowId), nullptr) << name.toStdString();
    }

    void shoot(QWidget* widget, const QString& name, QRect part = {}) {
        const QImage shot =
            widget->grab(part.isNull() ? QRect(QPoint(0, 0), QSize(-1, -1)) : part).toImage();
        EXPECT_TRUE(shot.save(ShotFolder + name, "PNG")) << name.toStdString();
    }

    // Answers the question asked, so the run's list beside the page shows a row.
    void answerQuestion() {
        control<QLineEdit>(AnswerOn)->setText(u"ji"_s);
        control<QLineEdit>(AnswerMeaning)->setText(u"zeigen"_s);
        click(CheckButton);
    }

    CaptionCheck captions;
};

namespace {

// Kana and kanji drawn at least that many pixels high, in one of the IPA faces: the font's
// pixel size, and the glyph as drawn, a sample with a dakuten for kana.
void expectReadable(const QFont& font, int pixels, const std::string& where) {
    EXPECT_GE(font.pixelSize(), pixels) << where;
    const QString sample = pixels < 20 ? u"ジ"_s : u"漢"_s;
    EXPECT_GE(QFontMetrics(font).tightBoundingRect(sample).height(), pixels) << where;
    EXPECT_TRUE(QFontInfo(font).family().startsWith(u"IPA"_s))
        << where << " in " << QFontInfo(font).family().toStdString();
}

// The kanji column of a quota list, and rows tall enough for it.
void expectReadableKanjiColumn(QWidget* dialog, const std::string& where) {
    auto* list = dialog->findChild<ui::TableList*>();
    ASSERT_NE(list, nullptr) << where;
    ASSERT_GT(list->rowCount(), 0) << where;
    const QFont kanji = list->model()->index(0, 0).data(Qt::FontRole).value<QFont>();
    expectReadable(kanji, 20, where);
    EXPECT_GE(list->rowHeight(0), QFontMetrics(kanji).height()) << where;
    // The figures beside the kanji stay in the list's own font.
    EXPECT_FALSE(list->model()->index(0, 1).data(Qt::FontRole).isValid()) << where;
}

}  // namespace

TEST_F(Captions, KanaOnTheCardAndKanjiInListsAreLargeEnoughToRead) {
    for (int field : {OnEditor, KunEditor, ExampleField1, ExampleField4}) {
        expectReadable(window().control(field)->font(), 16, "card field " + std::to_string(field));
    }
    auto* genshi = control<ui::ReportList>(GenshiListView);
    ASSERT_GT(genshi->topLevelItemCount(), 0);
    expectReadable(genshi->topLevelItem(0)->font(0), 20, "the card's Genshi list");
    // The longest meanings of the shipped list go on in a second line rather than being cut.
    QString longest;
    for (size_t i = 0; i < app.genshiList.size(); ++i) {
        if (app.genshiList[i].Genshi == u"自"_s || app.genshiList[i].Genshi == u"辰"_s) {
            longest += QString::number(i) + u',';
        }
    }
    app.kanjiSet.records[static_cast<size_t>(app.kanjiSet.current)].Genshi = longest;
    showKanji(app, app.kanjiSet.current);
    ASSERT_EQ(genshi->topLevelItemCount(), 2);
    checkMain(u"Übersicht mit langen Genshi"_s);
    shoot(window().top(), u"look-genshi-list.png"_s);
    choosePage(ViewMode::Training);
    for (int field : {ShownOn, ShownKun, AnswerOn, AnswerKun}) {
        expectReadable(window().control(field)->font(), 16,
                       "training field " + std::to_string(field));
    }
    click(AskMeaningBox);
    click(StartButton);
    answerQuestion();
    auto* run = control<ui::ReportList>(StatisticsList);
    ASSERT_EQ(run->rowCount(), 1);
    expectReadable(run->topLevelItem(0)->font(0), 20, "the run's list");
    EXPECT_GE(run->visualItemRect(run->topLevelItem(0)).height(),
              QFontMetrics(run->topLevelItem(0)->font(0)).height());
    click(TrainingEndButton);

    checkDialog(
        StatisticsWindowId, u"Statistik"_s, [&] { chooseMenu(MenuStatistics); },
        [](QWidget* dialog) { expectReadableKanjiColumn(dialog, "statistics"); });
    checkDialog(
        SelectionWindowId, u"Trainingsauswahl"_s, [&] { openTrainingSelection(app); },
        [](QWidget* dialog) { expectReadableKanjiColumn(dialog, "selection"); });
    EXPECT_TRUE(captions.faults().empty()) << captions.report();
}

TEST_F(Captions, EveryCaptionFitsItsControlOnEveryWindowAndPage) {
    // The longest texts the status bar and the JLPT options show with such a set.
    EXPECT_TRUE(window().statusText(5).endsWith(u"Serie: 2"_s))
        << window().statusText(5).toStdString();
    checkMain(u"Übersicht"_s);
    QWidget* overview = control<ui::TabPanel>(Panel)->page(0);
    shoot(window().top(), u"look-overview.png"_s);
    shoot(overview, u"look-card.png"_s, QRect(0, 0, 420, 410));

    chooseMenu(MenuOptimiseList);
    EXPECT_EQ(app.kanjiSet.size(), 2196);
    EXPECT_EQ(window().statusText(2), u"Liste optimiert: 6 zusammengeführt, 0 entfernt"_s);
    checkMain(u"Übersicht nach Liste optimieren"_s);

    chooseMenu(MenuEditKanji);
    checkMain(u"Übersicht beim Editieren"_s);
    checkDialog(
        GenshiWindowId, u"Genshi"_s, [&] { openGenshiWindow(app); },
        [&](QWidget* dialog) { shoot(dialog, u"look-genshi.png"_s); });
    click(EditButton);

    choosePage(ViewMode::Training);
    click(ScopeJlpt);
    EXPECT_EQ(window().text(Jlpt1), u"1  (1208)"_s);
    checkMain(u"Trainieren"_s);
    click(ManualBox);
    checkMain(u"Trainieren kurz"_s);
    click(ManualBox);
    click(AskMeaningBox);
    click(StartButton);
    answerQuestion();
    checkMain(u"Trainieren während eines Laufs"_s);
    shoot(window().top(), u"look-training.png"_s);
    click(TrainingEndButton);

    choosePage(ViewMode::Lists);
    checkMain(u"Listen"_s);
    choosePage(ViewMode::Overview);

    checkDialog(AboutWindowId, u"Über"_s, [&] { chooseMenu(MenuAbout); });
    checkDialog(
        StatisticsWindowId, u"Statistik"_s, [&] { chooseMenu(MenuStatistics); },
        [&](QWidget* dialog) { shoot(dialog, u"look-statistics.png"_s); });
    checkDialog(ForecastWindowId, u"Vorschau"_s, [&] { openForecast(app); });
    checkDialog(SelectionWindowId, u"Trainingsauswahl"_s, [&] { openTrainingSelection(app); });
    checkDialog(ExportWindowId, u"Export pdf"_s, [&] { runExportDialog(app, true); });
    checkDialog(ExportWindowId, u"Export csv"_s, [&] { runExportDialog(app, false); });

    writeFile(u"liste.csv"_s, "Nr,Kanji,On,Bedeutung\n1,\xE7\xA4\xBA,\xE3\x82\xB8,zeigen\n"_ba);
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"liste.csv"_s));
    checkDialog(ImportWindowId, u"CSV Import"_s, [&] { chooseMenu(MenuImportCsv); });

    EXPECT_TRUE(captions.faults().empty())
        << captions.faults().size() << " captions do not fit:" << captions.report();
}
