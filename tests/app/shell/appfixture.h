// A working directory with prepared files and the program's state started in it, driven through
// its widgets with a scripted clock, mouse and requesters.
#pragma once

#include "app/shell/dialogdriver.h"
#include "app/state/app.h"
#include "core/kanjiset/genshilist.h"
#include "core/kanjiset/kanjirecord.h"
#include "core/kanjiset/recordexpect.h"

#include <QColor>
#include <QPoint>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <vector>

class QWidget;

// Sends a press and a release of button at local, as a user's click does.
void clickAt(QWidget* widget, QPoint local, Qt::MouseButton button = Qt::LeftButton);

// Sends a press and a release of each letter's key, as a user's typing does.
void pressKeys(QWidget* target, const QString& letters);

// A Genshi list of six entries: shorter than the references a set may hold (an older list, or
// one still to be filled).
std::vector<GenshiEntry> sixGenshi();

// Lets failed comparisons of states show their numbers.
inline void PrintTo(ViewMode mode, std::ostream* os) {
    *os << "ViewMode " << static_cast<int>(mode);
}
inline void PrintTo(AnimState state, std::ostream* os) {
    *os << "AnimState " << static_cast<int>(state);
}
inline void PrintTo(CheckState state, std::ostream* os) {
    *os << "CheckState " << static_cast<int>(state);
}

// Lets failed comparisons of colours show them as #AARRGGBB.
void PrintTo(const QColor& colour, std::ostream* os);

// The colour of the middle pixel, which identifies a frame drawn in one solid colour.
QColor centreColour(const QImage& image);

// Steps written against a test's own view of a dialog, made from the dialog's window.
template <class View>
std::vector<DialogDriver::Step> stepsOn(
    const std::vector<std::function<void(const View&)>>& steps) {
    std::vector<DialogDriver::Step> onWindow;
    for (const auto& step : steps) {
        onWindow.push_back([step](QWidget* top) { step(View(top)); });
    }
    return onWindow;
}

class AppFixture : public testing::Test {
protected:
    AppFixture();
    ~AppFixture() override;

    // Paths with a trailing "/" below the temporary working directory.
    QString workDir() const;
    QString mediaDir() const;
    QString setPath(const QString& setName) const;
    QString preferencePath() const;

    void writeFile(const QString& relativePath, const QByteArray& bytes);
    std::optional<QByteArray> readFile(const QString& relativePath) const;
    void writeSet(const QString& setName, const std::vector<KanjiRecord>& records);
    // A preference file in the program's own format naming setName.
    void writePreferences(const QString& setName, const QString& language = {});
    // A stroke-order strip of 100 x 100 frames in the set's Anim folder, each frame one colour;
    // returns the file name a record's Anim field names it by.
    QString writeStrip(const QString& setName, qint32 code, const std::vector<QColor>& frames);
    void writeGenshiList(const std::vector<GenshiEntry>& entries);
    // The shipped catalog of that name, copied into the working directory's catalog folder.
    void copyShippedCatalog(const QString& name);
    // Every file of the shipped Media subfolder (Controls, Genshi), copied into the working one.
    void copyShippedMedia(const QString& folder);

    // How many requesters of that kind were shown so far.
    int requestersShown(ui::RequesterKind kind);

    // initialiseApp and startUp with every requester scripted; answers queued before are used.
    void start();
    // One main-loop pass; false once the loop would end.
    bool pass();
    // Passes until the event queue has been served, at most a few.
    void settle();
    // Shutdown as the program does it after its loop; false when the program stays open.
    bool finish();

    ui::Window& window() const { return *app.mainWindow; }
    template <class T>
    T* control(int id) const {
        T* widget = window().get<T>(id);
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }
    // A click on a button as the user makes it, followed by a pass.
    void click(int id);
    // The menu entry with that id chosen, followed by a pass.
    void chooseMenu(int menuId);
    // The page chosen on the panel's tab bar, followed by a pass.
    void choosePage(ViewMode page);
    // The user typing a number into NumberSpin, followed by a pass.
    void enterNumber(int value);
    // open() opens the dialog of windowId, and steps act in it, one per wait of its modal loop;
    // the last has to answer it. Fails the test when the dialog waits without being open or once
    // more than the steps foresee, is not titled so, or is still open afterwards.
    void playDialog(int windowId, const QString& title,
                    const std::vector<DialogDriver::Step>& steps,
                    const std::function<void()>& open);
    // A position in the client area of the main window as the mouse reports it.
    QPoint globalFromClient(QPoint client) const;
    // The mouse at a point of the widget, its left button down or up, delivered as Qt does: a
    // press on the widget has it keep every move and the release until the button is up,
    // wherever they are; a press beside it goes to another widget; a move with the button up
    // goes nowhere. Followed by a pass.
    void mouseOn(QWidget* widget, QPoint local, bool down);

    QTemporaryDir dir;
    App app;
    // What the scripted clock and mouse report.
    qint64 now = 0;
    ui::MouseState mouse;

private:
    // The widget that has the mouse while its button is down, null when another one has it.
    QPointer<QWidget> mouseGrabber_;
};
