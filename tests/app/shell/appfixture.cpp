// A working directory with prepared files and the program's state started in it, driven through
// its widgets with a scripted clock, mouse and requesters.
#include "app/shell/appfixture.h"
#include "app/shell/mainloop.h"
#include "app/shell/startup.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "base/files.h"
#include "core/kanjiset/setfile.h"
#include "core/shell/preferences.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>

#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTabBar>
#include <algorithm>

void clickAt(QWidget* widget, QPoint local, Qt::MouseButton button) {
    const QPointF position(local);
    const QPointF global(widget->mapToGlobal(local));
    QMouseEvent press(QEvent::MouseButtonPress, position, global, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, position, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

void pressKeys(QWidget* target, const QString& letters) {
    ASSERT_NE(target, nullptr);
    for (const QChar letter : letters) {
        const int key = letter.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(letter));
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(letter));
        QCoreApplication::sendEvent(target, &release);
    }
}

std::vector<GenshiEntry> sixGenshi() {
    std::vector<GenshiEntry> entries;
    const char16_t* characters[] = {u"一", u"丨", u"丶", u"丿", u"乙", u"亅"};
    for (int i = 0; i < 6; ++i) {
        entries.push_back({i + 1,
                           QString::fromUtf16(characters[i]),
                           {},
                           QStringLiteral("Teil %1").arg(i + 1),
                           1,
                           {},
                           {}});
    }
    return entries;
}

void PrintTo(const QColor& colour, std::ostream* os) {
    *os << (colour.isValid() ? colour.name(QColor::HexArgb).toStdString() : "invalid colour");
}

QColor centreColour(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

AppFixture::AppFixture() {
    EXPECT_TRUE(dir.isValid());
    EXPECT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Media")));
}

AppFixture::~AppFixture() {
    // Every requester a test caused must have been answered by the test itself.
    EXPECT_EQ(app.ui.requesters().unanswered(), 0);
}

QString AppFixture::workDir() const {
    return dir.path() + QLatin1Char('/');
}

QString AppFixture::mediaDir() const {
    return workDir() + QStringLiteral("Media/");
}

QString AppFixture::setPath(const QString& setName) const {
    return mediaDir() + setName + QStringLiteral(".rki");
}

QString AppFixture::preferencePath() const {
    return workDir() + QStringLiteral("Renkari.pref");
}

void AppFixture::writeFile(const QString& relativePath, const QByteArray& bytes) {
    const QString path = workDir() + relativePath;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    ASSERT_TRUE(saveFileAtomically(path, bytes)) << path.toStdString();
}

std::optional<QByteArray> AppFixture::readFile(const QString& relativePath) const {
    FileResult<QByteArray> bytes = readWholeFile(workDir() + relativePath);
    if (!bytes) {
        return std::nullopt;
    }
    return std::move(*bytes);
}

void AppFixture::writeSet(const QString& setName, const std::vector<KanjiRecord>& records) {
    writeFile(QStringLiteral("Media/") + setName + QStringLiteral(".rki"), writeSetFile(records));
}

void AppFixture::writePreferences(const QString& setName, const QString& language) {
    writeFile(QStringLiteral("Renkari.pref"),
              serializePreferences({setName, QString(), workDir(), workDir(), language}));
}

QString AppFixture::writeStrip(const QString& setName, qint32 code,
                               const std::vector<QColor>& frames) {
    QImage strip(100 * static_cast<int>(frames.size()), 100, QImage::Format_RGB32);
    for (size_t i = 0; i < frames.size(); ++i) {
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x) {
                strip.setPixelColor(100 * static_cast<int>(i) + x, y, frames[i]);
            }
        }
    }
    const QString name = QString::number(code) + QStringLiteral(".png");
    const QString folder = mediaDir() + setName + QStringLiteral("/Anim/");
    EXPECT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(strip.save(folder + name, "PNG"));
    return name;
}

void AppFixture::writeGenshiList(const std::vector<GenshiEntry>& entries) {
    const std::optional<QByteArray> bytes = ::writeGenshiList(entries, QStringLiteral("Nr,Genshi"));
    ASSERT_TRUE(bytes.has_value());
    writeFile(QStringLiteral("Media/Genshi/Genshiliste.txt"), *bytes);
}

void AppFixture::copyShippedCatalog(const QString& name) {
    const QString file = name + QStringLiteral(".catalog");
    const auto bytes = readWholeFile(QStringLiteral(RENKARI_SOURCE_DIR "/data/catalog/") + file);
    ASSERT_TRUE(bytes.has_value()) << file.toStdString();
    writeFile(QStringLiteral("catalog/") + file, *bytes);
}

void AppFixture::copyShippedMedia(const QString& folder) {
    const QString shipped = QStringLiteral(RENKARI_SOURCE_DIR "/data/Media/") + folder + u'/';
    for (const QString& name : QDir(shipped).entryList(QDir::Files)) {
        const auto bytes = readWholeFile(shipped + name);
        ASSERT_TRUE(bytes.has_value()) << name.toStdString();
        writeFile(QStringLiteral("Media/") + folder + u'/' + name, *bytes);
    }
}

int AppFixture::requestersShown(ui::RequesterKind kind) {
    return static_cast<int>(std::ranges::count_if(
        app.ui.requesters().shown(),
        [kind](const ui::ShownRequester& shown) { return shown.kind == kind; }));
}

void AppFixture::start() {
    app.ui.requesters().setScripted(true);
    app.ui.setSleepUntilEvent([] {});
    app.ui.setClock([this] { return now; });
    app.ui.setMouse([this] { return mouse; });
    initialiseApp(app, dir.path());
    ASSERT_TRUE(startUp(app));
    ASSERT_TRUE(app.mainWindow != nullptr);
}

bool AppFixture::pass() {
    return mainLoopPass(app);
}

void AppFixture::settle() {
    for (int i = 0; i < 3; ++i) {
        pass();
    }
}

bool AppFixture::finish() {
    return shutDown(app);
}

void AppFixture::click(int id) {
    if (auto* button = control<QAbstractButton>(id)) {
        button->click();
    }
    pass();
}

void AppFixture::chooseMenu(int menuId) {
    ui::Event event;
    event.kind = ui::EventKind::Menu;
    event.window = MainWindowId;
    event.menuId = menuId;
    app.ui.post(event);
    pass();
}

void AppFixture::choosePage(ViewMode page) {
    if (auto* panel = control<ui::TabPanel>(Panel)) {
        auto* tabs = panel->findChild<QTabBar*>();
        ASSERT_NE(tabs, nullptr);
        tabs->setCurrentIndex(pageIndex(page));
    }
    pass();
}

void AppFixture::enterNumber(int value) {
    if (auto* spin = control<QSpinBox>(NumberSpin)) {
        spin->setValue(value);
    }
    pass();
}

void AppFixture::playDialog(int windowId, const QString& title,
                            const std::vector<DialogDriver::Step>& steps,
                            const std::function<void()>& open) {
    std::vector<DialogDriver::Step> titled;
    for (const DialogDriver::Step& step : steps) {
        titled.push_back([&title, step](QWidget* dialog) {
            EXPECT_EQ(dialog->windowTitle(), title);
            step(dialog);
        });
    }
    {
        DialogDriver driver(app.ui, windowId, std::move(titled));
        open();
        EXPECT_EQ(driver.strayWaits(), 0) << "dialog " << windowId << " waited unattended";
        EXPECT_EQ(driver.stepsRun(), steps.size()) << "dialog " << windowId;
    }
    EXPECT_EQ(DialogDriver::openDialog(windowId), nullptr) << "dialog " << windowId;
}

QPoint AppFixture::globalFromClient(QPoint client) const {
    return window().client()->mapToGlobal(client);
}

void AppFixture::mouseOn(QWidget* widget, QPoint local, bool down) {
    const QPointF global(widget->mapToGlobal(local));
    const auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons) {
        if (mouseGrabber_) {
            QMouseEvent event(type, mouseGrabber_->mapFromGlobal(global), global, button, buttons,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(mouseGrabber_, &event);
        }
    };
    if (down && !mouse.primaryDown) {
        mouseGrabber_ = widget->rect().contains(local) ? widget : nullptr;
        send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    } else if (down) {
        send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    } else if (mouse.primaryDown) {
        send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        mouseGrabber_ = nullptr;
    }
    mouse.globalPos = global.toPoint();
    mouse.primaryDown = down;
    pass();
}
