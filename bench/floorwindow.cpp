// The window side of the start-up floor: a bare Qt window of the main window's size showing one
// kanji in IPAMincho at the card's size, drawn once, then the process ends. bench_startup runs it.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(1000, 702);
    QLabel kanji(QStringLiteral("漢"), &window);
    // 100 points, as the card's kanji font.
    QFont font(QStringLiteral("IPAMincho"));
    font.setPixelSize(
        static_cast<int>(100 * QGuiApplication::primaryScreen()->logicalDotsPerInchY() / 72.0));
    kanji.setFont(font);
    kanji.setGeometry(40, 50, 160, 160);
    window.show();
    QCoreApplication::processEvents();
    return 0;
}
